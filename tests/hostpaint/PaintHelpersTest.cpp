// Drawing-object holders: every object deleted once, every selection undone.
#include <gtest/gtest.h>

#include <cstring>

#include "app/resources/GuitarResource.h"
#include "general/CheckRecord.h"
#include "general/RCPtr.h"
#include "hostpaint/FontSpec.h"
#include "hostpaint/GdiFontSelect.h"
#include "hostpaint/GdiObjSelect.h"
#include "hostpaint/PictureFile.h"
#include "hostpaint/SmartGdiObject.h"
#include "platform/GdiTestSupport.h"
#include "resources/ResourceTable.h"

using PaintProcs::GdiFontSelect;
using PaintProcs::GdiObjSelect;
using PaintProcs::SmartGdiObject;

namespace {

const HINSTANCE kModule = reinterpret_cast<HINSTANCE>(0x400000);

class PaintHelpers : public ::testing::Test {
 protected:
  PaintHelpers() : canvas_(16, 16), before_(GdiLiveObjectCount()) {}
  // Nothing a test made may outlive it.
  ~PaintHelpers() override { EXPECT_EQ(GdiLiveObjectCount(), before_); }

  // What the DC has selected of the kind of `probe` (a stock object).
  HGDIOBJ Current(int probe) {
    HGDIOBJ current = SelectObject(canvas_.dc(), GetStockObject(probe));
    SelectObject(canvas_.dc(), current);
    return current;
  }
  void ExpectCheck(const CheckSite &site) {
    EXPECT_EQ(LastCheck(record_), Text(site));
    record_.Clear();
  }

  platform::Phone phone_{platform::ClockKind::Virtual};
  gditest::Canvas canvas_;
  std::size_t before_;
  ScopedAssertionRecord record_;
};

TEST_F(PaintHelpers, SmartGdiObjectDeletesOnceAndRecordsARefusedDelete) {
  {
    SmartGdiObject<HPEN> pen(CreatePen(PS_SOLID, 4, RGB(255, 128, 64))), empty;
    SmartGdiObject<HBRUSH> brush(CreateSolidBrush(RGB(166, 166, 166)));
    SmartGdiObject<HFONT> font;
    LOGFONTW lf{};
    font.Attach(CreateFontIndirectW(&lf));
    EXPECT_EQ(GdiLiveObjectCount(), before_ + 3);
  }
  EXPECT_EQ(GdiLiveObjectCount(), before_);
  EXPECT_FALSE(record_.Raised());
  // A selected object cannot be deleted: the holder says so and the object lives on.
  const auto refused = [this](auto handle, const CheckSite &site) {
    const HGDIOBJ old = SelectObject(canvas_.dc(), handle);
    { SmartGdiObject<decltype(handle)> holder(handle); }
    ExpectCheck(site);
    SelectObject(canvas_.dc(), old);
    EXPECT_TRUE(DeleteObject(handle));
  };
  LOGFONTW lf{};
  refused(CreatePen(PS_SOLID, 1, 0), CheckSites::kPenNotDeleted);
  refused(CreateSolidBrush(0), CheckSites::kBrushNotDeleted);
  refused(CreateFontIndirectW(&lf), CheckSites::kFontNotDeleted);
}

TEST_F(PaintHelpers, ObjSelectPutsPenAndBrushBackAndRefusesASecondSelection) {
  SmartGdiObject<HPEN> pen(CreatePen(PS_SOLID, 4, RGB(255, 128, 64)));
  SmartGdiObject<HBRUSH> brush(CreateSolidBrush(RGB(166, 166, 166)));
  const HGDIOBJ oldPen = Current(NULL_PEN), oldBrush = Current(NULL_BRUSH);
  {
    GdiObjSelect select;
    select.Restore();  // nothing selected yet: nothing to do
    EXPECT_FALSE(record_.Raised());
    select.Select(canvas_.dc(), pen, brush);
    EXPECT_EQ(Current(NULL_PEN), pen.Get());
    EXPECT_EQ(Current(NULL_BRUSH), brush.Get());
    Rectangle(canvas_.dc(), 4, 4, 12, 12);
  }
  EXPECT_EQ(Current(NULL_PEN), oldPen);
  EXPECT_EQ(Current(NULL_BRUSH), oldBrush);
  EXPECT_EQ(canvas_.At(8, 8), RGB(166, 166, 166));
  EXPECT_EQ(canvas_.At(4, 8), RGB(255, 128, 64));

  GdiObjSelect select;
  select.SelectPen(canvas_.dc(), pen);
  select.SelectBrush(canvas_.dc(), brush);
  ExpectCheck(CheckSites::kSelectBrushWhileSelected);
  select.Select(canvas_.dc(), pen, brush);
  ExpectCheck(CheckSites::kSelectWhileSelected);
  select.SelectPen(canvas_.dc(), pen);
  ExpectCheck(CheckSites::kSelectPenWhileSelected);
  EXPECT_EQ(Current(NULL_BRUSH), oldBrush);
  select.Restore();  // restored early, the guard may select again
  select.SelectBrush(canvas_.dc(), brush);
  EXPECT_FALSE(record_.Raised());
  EXPECT_EQ(Current(NULL_BRUSH), brush.Get());
  select.SelectPen(canvas_.dc(), pen);  // a brush alone holds the guard too
  ExpectCheck(CheckSites::kSelectPenWhileSelected);
  select.Restore();
  EXPECT_EQ(Current(NULL_BRUSH), oldBrush);
}

TEST_F(PaintHelpers, GuardsReportWhenSomethingElseWasSelectedMeanwhile) {
  SmartGdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, 0)), intruder(CreatePen(PS_SOLID, 1, 1));
  SmartGdiObject<HBRUSH> brush(CreateSolidBrush(0)), intruderBrush(CreateSolidBrush(1));
  FontSpec a, b;
  a.Create(L"Verdana", 16, false);
  b.Create(L"Arial", 16, false);
  const HGDIOBJ oldPen = Current(NULL_PEN), oldFont = Current(SYSTEM_FONT);
  {
    GdiObjSelect select;
    select.Select(canvas_.dc(), pen, brush);
    SelectObject(canvas_.dc(), intruder);
    select.Restore();
    ExpectCheck(CheckSites::kPenSwappedMeanwhile);
    EXPECT_EQ(Current(NULL_PEN), oldPen) << "the previous pen is back all the same";
    select.SelectBrush(canvas_.dc(), brush);
    SelectObject(canvas_.dc(), intruderBrush);
  }
  ExpectCheck(CheckSites::kBrushSwappedMeanwhile);
  GdiFontSelect font;
  font.Restore();  // nothing selected yet: nothing to do
  EXPECT_FALSE(record_.Raised());
  font.Select(a, canvas_.dc());
  SelectObject(canvas_.dc(), b.font.Get());
  font.Restore();
  ExpectCheck(CheckSites::kFontSwappedMeanwhile);
  EXPECT_EQ(Current(SYSTEM_FONT), oldFont);
}

TEST_F(PaintHelpers, FontSpecMakesTheFaceWeightAndHeightAsked) {
  const struct {
    const wchar_t *face;
    int size;
    bool bold;
    LONG weight;
    size_t faceLength;
  } cases[] = {{L"Verdana", 20, true, FW_BOLD, 7},
               {L"Courier New", 16, false, FW_NORMAL, 11},
               {L"An Extraordinarily Long Face Name That Does Not Fit", 16, false, FW_NORMAL, 31}};
  for (const auto &c : cases) {
    FontSpec style;
    style.Create(c.face, c.size, c.bold);
    ASSERT_NE(style.font.Get(), nullptr);
    EXPECT_EQ(style.height, c.size);
    LOGFONTW lf{};
    GetObjectW(style.font.Get(), sizeof lf, &lf);
    EXPECT_EQ(lf.lfWeight, c.weight);
    EXPECT_EQ(std::wcslen(lf.lfFaceName), c.faceLength);
    EXPECT_EQ(std::wcsncmp(lf.lfFaceName, c.face, c.faceLength), 0);
  }
}

TEST_F(PaintHelpers, FontSelectAppliesEveryStyleButKeepsTheFirstFont) {
  FontSpec word, title;
  word.Create(L"Verdana", 20, true);
  word.backMode = OPAQUE;
  title.Create(L"Verdana", 20, true);
  title.backColor = RGB(1, 2, 3);
  title.textColor = RGB(4, 5, 6);
  title.backMode = TRANSPARENT;
  title.textAlign = TA_BASELINE;
  const HGDIOBJ oldFont = Current(SYSTEM_FONT);
  {
    GdiFontSelect select;
    select.Select(word, canvas_.dc());
    EXPECT_EQ(Current(SYSTEM_FONT), word.font.Get());
    select.Select(title, canvas_.dc());
    ExpectCheck(CheckSites::kFontSelectWhileSelected);
    EXPECT_EQ(Current(SYSTEM_FONT), word.font.Get());
    EXPECT_EQ(SetBkMode(canvas_.dc(), OPAQUE), TRANSPARENT);
    EXPECT_EQ(SetTextColor(canvas_.dc(), 0), RGB(4, 5, 6));
    EXPECT_EQ(SetBkColor(canvas_.dc(), 0), RGB(1, 2, 3));
    EXPECT_EQ(SetTextAlign(canvas_.dc(), TA_BASELINE), static_cast<UINT>(TA_BASELINE));
  }
  EXPECT_EQ(Current(SYSTEM_FONT), oldFont);
  EXPECT_EQ(SetTextAlign(canvas_.dc(), 0), static_cast<UINT>(TA_BASELINE)) << "attributes are not restored";
}

TEST_F(PaintHelpers, PictureFileHoldsTheGuitarOrNothingAtAll) {
  RegisterGuitarBitmap(kModule);
  {
    RCPtr<PictureFile> picture = MakeRC<PictureFile>(kModule, L"Guitar.bmp");
    EXPECT_EQ(picture->Width(), 74);
    EXPECT_EQ(picture->Height(), 112);
    EXPECT_EQ(GdiLiveObjectCount(), before_ + 2);  // its memory DC and its bitmap
    EXPECT_TRUE(StretchBlt(canvas_.dc(), 0, 0, 16, 16, picture->DC(), 0, 0, 74, 112, SRCCOPY));
    EXPECT_NE(canvas_.Ink().left, 16);
  }
  ResourceTable::Unregister(kModule);
  gditest::Canvas blank(16, 16);
  RCPtr<PictureFile> missing = MakeRC<PictureFile>(kModule, L"Nowhere.bmp");
  EXPECT_EQ(missing->Width(), 0);
  EXPECT_EQ(missing->Height(), 0);
  EXPECT_EQ(missing->DC(), nullptr);
  EXPECT_EQ(missing->Bitmap(), nullptr);
  StretchBlt(blank.dc(), 0, 0, 16, 16, missing->DC(), 0, 0, 0, 0, SRCCOPY);
  EXPECT_EQ(blank.Ink().left, 16);
  EXPECT_FALSE(record_.Raised());
}

}  // namespace
