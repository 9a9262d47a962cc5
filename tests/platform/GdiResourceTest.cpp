// The resource table, bitmap resources (the guitar picture among them) and PNG output.
#include <gtest/gtest.h>

#include <cairo.h>

#include <cstdint>
#include <vector>

#include "platform/GdiTestSupport.h"
#include "app/resources/GuitarResource.h"
#include "resources/ResourceTable.h"

namespace {

using GdiPng = gditest::PhoneTest;

const HINSTANCE kModule = reinterpret_cast<HINSTANCE>(0x400000);
const HINSTANCE kOtherModule = reinterpret_cast<HINSTANCE>(0x500000);

class ResourceTest : public gditest::PhoneTest {
 protected:
  ~ResourceTest() override {
    ResourceTable::Unregister(kModule);
    ResourceTable::Unregister(kOtherModule);
  }
  static void AddBitmap(LPCWSTR name, const std::vector<unsigned char> &dib) {
    ResourceTable::Register(kModule, ResourceTable::Id(ResourceTable::kBitmap), name, dib);
  }
};

void Put32(std::vector<unsigned char> &out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back((v >> (8 * i)) & 0xFF);
}

// A 3x2 bitmap resource (no file header): left column red, rest blue.
std::vector<unsigned char> SmallDib(int bits, bool topDown) {
  std::vector<unsigned char> dib;
  Put32(dib, 40);
  Put32(dib, 3);
  Put32(dib, topDown ? uint32_t(-2) : 2u);
  dib.insert(dib.end(), {1, 0, static_cast<unsigned char>(bits), 0});
  for (int i = 0; i < 6; ++i) Put32(dib, 0);
  int stride = (3 * bits + 31) / 32 * 4;
  for (int row = 0; row < 2; ++row) {
    bool top = topDown ? row == 0 : row == 1;
    for (int x = 0; x < 3; ++x) {
      unsigned char g = top ? 10 : 20;
      if (x == 0)
        dib.insert(dib.end(), {0, g, 255});
      else
        dib.insert(dib.end(), {255, g, 0});
      if (bits == 32) dib.push_back(0);
    }
    dib.resize(dib.size() + stride - 3 * bits / 8, 0);
  }
  return dib;
}

TEST_F(ResourceTest, FindsByModuleTypeAndName) {
  using namespace ResourceTable;
  static const unsigned char a[] = {1, 2, 3}, b[] = {4};
  ASSERT_TRUE(Register(kModule, Id(kRcData), Id(701), a));
  ASSERT_TRUE(Register(kModule, Id(kBitmap), L"Guitar.bmp", b));
  EXPECT_EQ(Find(kModule, Id(kRcData), Id(701)).size(), 3u);
  EXPECT_EQ(Find(kModule, Id(kBitmap), L"GUITAR.BMP").data(), b);
  EXPECT_EQ(Find(kOtherModule, Id(kBitmap), L"Guitar.bmp").data(), nullptr);
  EXPECT_EQ(Find(kModule, Id(kMenu), Id(701)).data(), nullptr);
  EXPECT_EQ(Find(kModule, Id(kRcData), Id(702)).data(), nullptr);
  Register(kModule, Id(kRcData), Id(701), b);  // again: replaces
  EXPECT_EQ(Find(kModule, Id(kRcData), Id(701)).data(), b);
  EXPECT_FALSE(Register(kModule, nullptr, L"x", a));
  Unregister(kModule);
  EXPECT_EQ(Find(kModule, Id(kBitmap), L"Guitar.bmp").data(), nullptr);
}

TEST_F(ResourceTest, GuitarPictureHasTheStringsAtTheirBars) {
  RegisterGuitarBitmap(kModule);
  HBITMAP guitar = LoadBitmapW(kModule, L"Guitar.bmp");
  ASSERT_NE(guitar, nullptr);
  BITMAP bm{};
  GetObjectW(guitar, sizeof bm, &bm);
  EXPECT_EQ(bm.bmWidth, 74);
  EXPECT_EQ(bm.bmHeight, 112);
  const double bars[6] = {0.264, 0.365, 0.462, 0.562, 0.666, 0.762};
  const COLORREF board = GdiGetPixel(guitar, 72, 35);
  for (int i = 0; i < 6; ++i) {
    int row = static_cast<int>(bars[i] * 112);
    EXPECT_NE(GdiGetPixel(guitar, 72, row), board) << "string " << i;
    EXPECT_EQ(GdiGetPixel(guitar, 72, row - 2), board) << "string " << i;
    EXPECT_EQ(GdiGetPixel(guitar, 72, row + 2), board) << "string " << i;
  }
  EXPECT_EQ(LoadBitmapW(kOtherModule, L"Guitar.bmp"), nullptr);
  EXPECT_EQ(LoadBitmapW(kModule, L"Missing.bmp"), nullptr);
  DeleteObject(guitar);
}

TEST_F(ResourceTest, ReadsBottomUpTopDownAnd32BitResources) {
  for (int bits : {24, 32})
    for (bool topDown : {false, true}) {
      std::vector<unsigned char> dib = SmallDib(bits, topDown);
      AddBitmap(L"small", dib);
      HBITMAP bitmap = LoadBitmapW(kModule, L"small");
      ASSERT_NE(bitmap, nullptr) << bits;
      EXPECT_EQ(GdiGetPixel(bitmap, 0, 0), RGB(255, 10, 0));
      EXPECT_EQ(GdiGetPixel(bitmap, 2, 0), RGB(0, 10, 255));
      EXPECT_EQ(GdiGetPixel(bitmap, 1, 1), RGB(0, 20, 255));
      DeleteObject(bitmap);
    }
}

TEST_F(ResourceTest, RefusesDamagedBitmaps) {
  std::vector<unsigned char> dib = SmallDib(24, false);
  std::vector<std::vector<unsigned char>> bad;
  bad.emplace_back(dib.begin(), dib.end() - 1);  // truncated pixels
  bad.emplace_back(dib.begin(), dib.begin() + 20);  // truncated header
  bad.push_back(dib);
  bad.back()[14] = 8;  // palette bitmaps are not offered
  bad.push_back(dib);
  bad.back()[16] = 1;  // compressed
  bad.push_back(dib);
  bad.back()[4] = 0;  // zero width
  const std::size_t before = GdiLiveObjectCount();
  for (const auto &bytes : bad) {
    AddBitmap(L"bad", bytes);
    EXPECT_EQ(LoadBitmapW(kModule, L"bad"), nullptr);
  }
  EXPECT_EQ(GdiLiveObjectCount(), before);
}

TEST_F(GdiPng, WritesTheBitmapInTrueColours) {
  gditest::Canvas canvas(6, 4, RGB(255, 0, 0));
  RECT right{3, 0, 6, 4};
  SetBkColor(canvas.dc(), RGB(1, 2, 250));
  ExtTextOutW(canvas.dc(), 0, 0, ETO_OPAQUE, &right, L"", 0, nullptr);
  std::string path = OutputPath("gdi-png-test.png");
  ASSERT_TRUE(GdiWritePng(canvas.dc(), path.c_str()));
  cairo_surface_t *png = cairo_image_surface_create_from_png(path.c_str());
  ASSERT_EQ(cairo_surface_status(png), CAIRO_STATUS_SUCCESS);
  EXPECT_EQ(cairo_image_surface_get_width(png), 6);
  EXPECT_EQ(cairo_image_surface_get_height(png), 4);
  auto pixel = [png](int x, int y) {
    const unsigned char *row = cairo_image_surface_get_data(png) + y * cairo_image_surface_get_stride(png);
    return reinterpret_cast<const uint32_t *>(row)[x] & 0xFFFFFF;  // 0xRRGGBB
  };
  EXPECT_EQ(pixel(0, 0), 0xFF0000u);
  EXPECT_EQ(pixel(5, 3), 0x0102FAu);
  cairo_surface_destroy(png);
  EXPECT_TRUE(GdiWritePng(canvas.bitmap(), path.c_str()));
  EXPECT_FALSE(GdiWritePng(canvas.dc(), "/nonexistent-dir/x.png"));
  EXPECT_FALSE(GdiWritePng(nullptr, path.c_str()));
}

}  // namespace
