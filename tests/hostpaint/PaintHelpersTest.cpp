// Drawing-object holders: every object deleted once, every selection undone.
#include <gtest/gtest.h>

#include <cstring>

#include "general/AssertionRecord.h"
#include "general/RCPtr.h"
#include "hostpaint/FontSpec.h"
#include "hostpaint/GdiFontSelect.h"
#include "hostpaint/GdiObjSelect.h"
#include "hostpaint/PictureFile.h"
#include "hostpaint/SmartGdiObject.h"
#include "platform/GdiTestSupport.h"
#include "resources/GuitarResource.h"
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

  HGDIOBJ CurrentPen() {
    HGDIOBJ pen = SelectObject(canvas_.dc(), GetStockObject(NULL_PEN));
    SelectObject(canvas_.dc(), pen);
    return pen;
  }
  HGDIOBJ CurrentBrush() {
    HGDIOBJ brush = SelectObject(canvas_.dc(), GetStockObject(NULL_BRUSH));
    SelectObject(canvas_.dc(), brush);
    return brush;
  }
  HGDIOBJ CurrentFont() {
    HGDIOBJ font = SelectObject(canvas_.dc(), GetStockObject(SYSTEM_FONT));
    SelectObject(canvas_.dc(), font);
    return font;
  }

  gditest::Canvas canvas_;
  std::size_t before_;
  ScopedAssertionRecord record_;
};

TEST_F(PaintHelpers, SmartGdiObjectDeletesItsHandleOnce) {
  {
    SmartGdiObject<HPEN> pen(CreatePen(PS_SOLID, 4, RGB(255, 128, 64)));
    SmartGdiObject<HBRUSH> brush(CreateSolidBrush(RGB(166, 166, 166)));
    SmartGdiObject<HFONT> font;
    LOGFONTW lf{};
    font.Attach(CreateFontIndirectW(&lf));
    EXPECT_EQ(GdiLiveObjectCount(), before_ + 3);
    SmartGdiObject<HPEN> empty;  // deletes nothing
  }
  EXPECT_EQ(GdiLiveObjectCount(), before_);
  EXPECT_FALSE(record_.Raised());
}

TEST_F(PaintHelpers, SmartGdiObjectRecordsARefusedDelete) {
  struct Case {
    HGDIOBJ handle;
    const char *name;
  };
  HPEN pen = CreatePen(PS_SOLID, 1, 0);
  HBRUSH brush = CreateSolidBrush(0);
  LOGFONTW lf{};
  HFONT font = CreateFontIndirectW(&lf);
  const Case cases[] = {{pen, "PaintProcs::SmartGdiObject<struct HPEN__ *>::~SmartGdiObject"},
                        {brush, "PaintProcs::SmartGdiObject<struct HBRUSH__ *>::~SmartGdiObject"},
                        {font, "PaintProcs::SmartGdiObject<struct HFONT__ *>::~SmartGdiObject"}};
  for (const Case &c : cases) {
    record_.Clear();
    HGDIOBJ old = SelectObject(canvas_.dc(), c.handle);
    if (c.handle == pen) {
      SmartGdiObject<HPEN> holder(pen);
    } else if (c.handle == brush) {
      SmartGdiObject<HBRUSH> holder(brush);
    } else {
      SmartGdiObject<HFONT> holder(font);
    }
    ASSERT_TRUE(record_.Raised());
    EXPECT_STREQ(record_->file, "SmartGdiObject");
    EXPECT_EQ(record_->line, 25);
    EXPECT_STREQ(record_->function, c.name);
    // The refused delete left the object alive and selected.
    SelectObject(canvas_.dc(), old);
    EXPECT_TRUE(DeleteObject(c.handle));
  }
}

TEST_F(PaintHelpers, ObjSelectPutsPenAndBrushBack) {
  SmartGdiObject<HPEN> pen(CreatePen(PS_SOLID, 4, RGB(255, 128, 64)));
  SmartGdiObject<HBRUSH> brush(CreateSolidBrush(RGB(166, 166, 166)));
  HGDIOBJ oldPen = CurrentPen(), oldBrush = CurrentBrush();
  {
    GdiObjSelect select;
    select.Select(canvas_.dc(), pen, brush);
    EXPECT_EQ(CurrentPen(), pen.Get());
    EXPECT_EQ(CurrentBrush(), brush.Get());
    Rectangle(canvas_.dc(), 4, 4, 12, 12);
  }
  EXPECT_EQ(CurrentPen(), oldPen);
  EXPECT_EQ(CurrentBrush(), oldBrush);
  EXPECT_EQ(canvas_.At(8, 8), RGB(166, 166, 166));
  EXPECT_EQ(canvas_.At(4, 8), RGB(255, 128, 64));
  EXPECT_FALSE(record_.Raised());
}

TEST_F(PaintHelpers, PenOnlyGuardRefusesFurtherSelectionsUntilRestored) {
  SmartGdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, 0));
  SmartGdiObject<HBRUSH> brush(CreateSolidBrush(0));
  HGDIOBJ oldBrush = CurrentBrush();
  GdiObjSelect select;
  select.SelectPen(canvas_.dc(), pen);
  select.SelectBrush(canvas_.dc(), brush);
  EXPECT_STREQ(record_->function, "PaintProcs::GdiObjSelect::SelectBrush");
  EXPECT_EQ(record_->line, 105);
  EXPECT_STREQ(record_->file, "GdiObjSelect");
  EXPECT_EQ(CurrentBrush(), oldBrush);
  record_.Clear();
  select.Select(canvas_.dc(), pen, brush);
  EXPECT_STREQ(record_->function, "PaintProcs::GdiObjSelect::Select");
  EXPECT_EQ(record_->line, 79);
  record_.Clear();
  select.SelectPen(canvas_.dc(), pen);
  EXPECT_STREQ(record_->function, "PaintProcs::GdiObjSelect::SelectPen");
  EXPECT_EQ(record_->line, 94);
  EXPECT_EQ(CurrentBrush(), oldBrush);

  // Restored early, the guard may select again.
  record_.Clear();
  select.Restore();
  select.SelectBrush(canvas_.dc(), brush);
  EXPECT_FALSE(record_.Raised());
  EXPECT_EQ(CurrentBrush(), brush.Get());
  select.Restore();
  EXPECT_EQ(CurrentBrush(), oldBrush);
}

TEST_F(PaintHelpers, RestoringAnEmptyGuardDoesNothing) {
  HGDIOBJ oldPen = CurrentPen();
  GdiObjSelect objects;
  objects.Restore();
  GdiFontSelect font;
  font.Restore();
  EXPECT_FALSE(record_.Raised());
  EXPECT_EQ(CurrentPen(), oldPen);
}

TEST_F(PaintHelpers, ObjSelectReportsWhenSomethingElseWasSelectedMeanwhile) {
  SmartGdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, 0)), intruder(CreatePen(PS_SOLID, 1, 1));
  SmartGdiObject<HBRUSH> brush(CreateSolidBrush(0)), intruderBrush(CreateSolidBrush(1));
  HGDIOBJ oldPen = CurrentPen();
  {
    GdiObjSelect select;
    select.Select(canvas_.dc(), pen, brush);
    SelectObject(canvas_.dc(), intruder);
    select.Restore();
    EXPECT_STREQ(record_->function, "PaintProcs::GdiObjSelect::~GdiObjSelect");
    EXPECT_EQ(record_->line, 62);
    EXPECT_EQ(CurrentPen(), oldPen);  // the previous pen is back all the same
    record_.Clear();
    select.SelectBrush(canvas_.dc(), brush);
    SelectObject(canvas_.dc(), intruderBrush);
  }
  EXPECT_EQ(record_->line, 72);
}

TEST_F(PaintHelpers, FontSpecReadsTheHeightBack) {
  FontSpec spec;
  EXPECT_EQ(spec.font.Get(), nullptr);
  EXPECT_EQ(spec.height, 0);
  EXPECT_EQ(spec.backColor, 0x000000u);
  EXPECT_EQ(spec.textColor, 0xFFFFFFu);
  EXPECT_EQ(spec.backMode, 2);
  EXPECT_EQ(spec.textAlign, 0);
  spec.Create(L"Verdana", 20, true);
  ASSERT_NE(spec.font.Get(), nullptr);
  EXPECT_EQ(spec.height, 20);
  LOGFONTW lf{};
  GetObjectW(spec.font.Get(), sizeof lf, &lf);
  EXPECT_EQ(lf.lfWeight, FW_BOLD);
  EXPECT_STREQ(lf.lfFaceName, L"Verdana");

  FontSpec mono;
  mono.Create(L"Courier New", 16, false);
  EXPECT_EQ(mono.height, 16);
  GetObjectW(mono.font.Get(), sizeof lf, &lf);
  EXPECT_EQ(lf.lfWeight, FW_NORMAL);

  FontSpec longName;  // the face name is cut to fit its 32 characters
  longName.Create(L"An Extraordinarily Long Face Name That Does Not Fit", 16, false);
  GetObjectW(longName.font.Get(), sizeof lf, &lf);
  EXPECT_EQ(std::wcslen(lf.lfFaceName), 31u);
}

TEST_F(PaintHelpers, FontSelectAppliesTheStyleAndPutsTheFontBack) {
  FontSpec word;
  word.Create(L"Verdana", 20, true);
  word.backColor = 0xF5F5F5;
  word.textColor = RGB(0, 0, 0);
  word.backMode = OPAQUE;
  word.textAlign = TA_RIGHT;
  FontSpec title;
  title.Create(L"Verdana", 20, true);
  title.backColor = RGB(1, 2, 3);
  title.textColor = RGB(4, 5, 6);
  title.backMode = TRANSPARENT;
  title.textAlign = TA_BASELINE;
  HGDIOBJ oldFont = CurrentFont();
  {
    GdiFontSelect select;
    select.Select(word, canvas_.dc());
    EXPECT_EQ(CurrentFont(), word.font.Get());
    EXPECT_EQ(SetBkMode(canvas_.dc(), OPAQUE), OPAQUE);
    // A second Select keeps the font but still applies the new style.
    select.Select(title, canvas_.dc());
    EXPECT_STREQ(record_->function, "PaintProcs::GdiFontSelect::Select");
    EXPECT_EQ(record_->line, 149);
    EXPECT_STREQ(record_->file, "GdiFontSelect");
    EXPECT_EQ(CurrentFont(), word.font.Get());
    EXPECT_EQ(SetBkMode(canvas_.dc(), OPAQUE), TRANSPARENT);
    EXPECT_EQ(SetTextColor(canvas_.dc(), 0), RGB(4, 5, 6));
    EXPECT_EQ(SetBkColor(canvas_.dc(), 0), RGB(1, 2, 3));
    EXPECT_EQ(SetTextAlign(canvas_.dc(), TA_BASELINE), static_cast<UINT>(TA_BASELINE));
  }
  EXPECT_EQ(CurrentFont(), oldFont);
  // Attributes are not restored.
  EXPECT_EQ(SetTextAlign(canvas_.dc(), 0), static_cast<UINT>(TA_BASELINE));
}

TEST_F(PaintHelpers, FontSelectReportsWhenAnotherFontWasSelectedMeanwhile) {
  FontSpec a, b;
  a.Create(L"Verdana", 16, false);
  b.Create(L"Arial", 16, false);
  HGDIOBJ oldFont = CurrentFont();
  GdiFontSelect select;
  select.Select(a, canvas_.dc());
  SelectObject(canvas_.dc(), b.font.Get());
  select.Restore();
  EXPECT_STREQ(record_->function, "PaintProcs::GdiFontSelect::~GdiFontSelect");
  EXPECT_EQ(record_->line, 142);
  EXPECT_EQ(CurrentFont(), oldFont);
}

TEST_F(PaintHelpers, PictureFileHoldsTheGuitarReadyToCopy) {
  RegisterGuitarBitmap(kModule);
  {
    RCPtr<PictureFile> picture = MakeRC<PictureFile>(kModule, L"Guitar.bmp");
    EXPECT_EQ(picture->Width(), 74);
    EXPECT_EQ(picture->Height(), 112);
    ASSERT_NE(picture->DC(), nullptr);
    EXPECT_EQ(GdiLiveObjectCount(), before_ + 2);  // its memory DC and its bitmap
    EXPECT_TRUE(StretchBlt(canvas_.dc(), 0, 0, 16, 16, picture->DC(), 0, 0, picture->Width(),
                           picture->Height(), SRCCOPY));
    EXPECT_NE(canvas_.Ink().left, 16);
  }
  ResourceTable::Unregister(kModule);
}

TEST_F(PaintHelpers, MissingPictureStaysEmptyAndDrawsNothing) {
  RCPtr<PictureFile> picture = MakeRC<PictureFile>(kModule, L"Nowhere.bmp");
  EXPECT_EQ(picture->Width(), 0);
  EXPECT_EQ(picture->Height(), 0);
  EXPECT_EQ(picture->DC(), nullptr);
  EXPECT_EQ(picture->Bitmap(), nullptr);
  EXPECT_EQ(GdiLiveObjectCount(), before_);
  StretchBlt(canvas_.dc(), 0, 0, 16, 16, picture->DC(), 0, 0, picture->Width(), picture->Height(), SRCCOPY);
  EXPECT_EQ(canvas_.Ink().left, 16);
  picture.Reset();
  EXPECT_FALSE(record_.Raised());
}

}  // namespace
