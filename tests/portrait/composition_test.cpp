#include "portrait/composition.h"

#include <gtest/gtest.h>

#include "portrait/layer_cache.h"
#include "portrait/portrait_png.h"
#include "portrait/portrait_pool.h"
#include "shell/error.h"
#include "support/temp_folder.h"

namespace likentor {
namespace {

// A w x h image of one colour; alpha < 0 makes an RGB image.
std::shared_ptr<const PngImage> Flat(int w, int h, Rgb color, int alpha = -1) {
  auto image = std::make_shared<PngImage>(w, h, alpha >= 0);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      image->SetPixel(x, y, color);
      image->SetAlpha(x, y, static_cast<std::uint8_t>(alpha < 0 ? 0 : alpha));
    }
  }
  return image;
}

TEST(Composition, GenericDesignOfATeam) {
  EXPECT_EQ(GenericDesign(1), 2);
  EXPECT_EQ(GenericDesign(24), 25);
  EXPECT_EQ(GenericDesign(25), 1);
  EXPECT_EQ(GenericDesign(26), 2);
  EXPECT_EQ(GenericDesign(50), 1);
  EXPECT_EQ(GenericDesign(180), 6);
  // The remainder keeps the sign of the dividend; the result is held to 1..25.
  EXPECT_EQ(GenericDesign(-3), 23);
  EXPECT_EQ(GenericDesign(-30), 1);
  // The largest team ids: 2147483647 = 25 * 85899345 + 22.
  EXPECT_EQ(GenericDesign(2147483647), 23);
  EXPECT_EQ(GenericDesign(2147483630), 6);  // 25 * 85899345 + 5
}

TEST(Composition, LogoNameTest) {
  EXPECT_TRUE(IsPngLogoName("lions.png"));
  EXPECT_TRUE(IsPngLogoName("png"));
  EXPECT_TRUE(IsPngLogoName("x.pxx"));  // only the 'p' third from the end is looked at
  EXPECT_FALSE(IsPngLogoName("lions.PNG"));
  EXPECT_FALSE(IsPngLogoName("lions.gif"));
  EXPECT_FALSE(IsPngLogoName("ng"));
  EXPECT_FALSE(IsPngLogoName(""));
}

TEST(Composition, AccessoryEligibilityRules) {
  const AccessoryEligibility rightBatter{false, true, false, true};
  EXPECT_TRUE(AccessoryShown(rightBatter, 1, 3));
  EXPECT_FALSE(AccessoryShown(rightBatter, 2, 3));
  EXPECT_FALSE(AccessoryShown(rightBatter, 1, 1));
  // A hand that is neither 1 nor 2 is held to neither rule.
  EXPECT_TRUE(AccessoryShown(rightBatter, 0, 3));
  const AccessoryEligibility all{true, true, true, true};
  EXPECT_TRUE(AccessoryShown(all, 2, 1));
  EXPECT_FALSE(AccessoryShown(AccessoryEligibility{}, 0, 0));  // a batter, not batter-eligible
}

TEST(Composition, LayersInOrderOnACopyOfTheBackground) {
  PortraitLayers layers;
  const Rgb bg{10, 20, 30};
  layers.background = Flat(90, 135, bg);
  layers.face = Flat(10, 10, Rgb{200, 0, 0}, 255);
  // The uniform covers the face's lower rows; the bill underside, facial hair and accessory are
  // stacked on one pixel (8, 12) to show their order.
  layers.uniform = Flat(90, 135, Rgb{0, 200, 0}, 0);
  auto uniform = std::make_shared<PngImage>(*layers.uniform);
  for (int x = 0; x < 90; ++x) uniform->SetAlpha(x, 12, 255);
  layers.uniform = uniform;
  auto bill = std::make_shared<PngImage>(*Flat(90, 135, Rgb{0, 0, 250}, 0));
  bill->SetAlpha(8, 12, 128);
  bill->SetAlpha(9, 12, 128);
  layers.billUnderside = bill;
  auto hair = std::make_shared<PngImage>(*Flat(10, 12, Rgb{90, 90, 90}, 0));
  hair->SetAlpha(10 - 1, 10, 255);  // column 9, row 10 lands on (8, 12)
  layers.facialHair = hair;
  auto accessory = std::make_shared<PngImage>(*Flat(90, 135, Rgb{255, 255, 255}, 0));
  accessory->SetAlpha(9, 12, 255);
  layers.accessory = accessory;

  const PngImage p = ComposePortrait(layers);
  EXPECT_EQ(p.Pixel(0, 0), bg);
  EXPECT_EQ(p.Pixel(7, 4), (Rgb{200, 0, 0}));
  EXPECT_EQ(p.Pixel(16, 11), (Rgb{200, 0, 0}));
  EXPECT_EQ(p.Pixel(17, 11), bg);
  EXPECT_EQ(p.Pixel(7, 12), (Rgb{0, 200, 0}));      // uniform over the face
  EXPECT_EQ(p.Pixel(8, 12), (Rgb{90, 90, 90}));     // facial hair over the bill underside
  EXPECT_EQ(p.Pixel(9, 12), (Rgb{255, 255, 255}));  // accessory on top
  // Bill underside at alpha 128 over the green uniform: (250 * 128 + 0 * 127 + 255) >> 8.
  PortraitLayers noHair = layers;
  noHair.facialHair = nullptr;
  EXPECT_EQ(ComposePortrait(noHair).Pixel(8, 12),
            (Rgb{0, (200 * 127 + 255) >> 8, (250 * 128 + 255) >> 8}));
  // The shared background is untouched.
  EXPECT_EQ(layers.background->Pixel(7, 4), bg);
}

TEST(Composition, GenericUniformIsBlackTransparentAndCarriesTheLogo) {
  PortraitLayers layers;
  layers.background = Flat(90, 135, Rgb{10, 20, 30});
  auto generic = std::make_shared<Bitmap>(90, 135);
  generic->SetPixel(50, 110, Rgb{1, 1, 1});
  generic->SetPixel(20, 120, Rgb{5, 6, 7});
  layers.genericUniform = generic;
  layers.logo = Flat(30, 30, Rgb{250, 0, 250}, 255);
  const PngImage p = ComposePortrait(layers);
  EXPECT_EQ(p.Pixel(0, 0), (Rgb{10, 20, 30}));
  EXPECT_EQ(p.Pixel(20, 120), (Rgb{5, 6, 7}));
  EXPECT_EQ(p.Pixel(50, 110), (Rgb{250, 0, 250}));  // the logo over the uniform
  EXPECT_EQ(p.Pixel(48, 110), (Rgb{10, 20, 30}));
  // The logo belongs to the generic uniform only.
  layers.uniform = Flat(90, 135, Rgb{3, 3, 3}, 0);
  EXPECT_EQ(ComposePortrait(layers).Pixel(50, 110), (Rgb{10, 20, 30}));
}

TEST(PortraitPng, DecodesToTheSamePixelsAlphaAndTransparentColour) {
  for (const bool alpha : {false, true}) {
    PngImage image(37, 23, alpha);
    for (int y = 0; y < 23; ++y) {
      for (int x = 0; x < 37; ++x) {
        // Rows that differ from the ones above both ways, so the Up filter wraps below 0.
        image.SetPixel(
            x, y,
            Rgb{static_cast<std::uint8_t>(x * 7 + y * 13), static_cast<std::uint8_t>(255 - y * 11),
                static_cast<std::uint8_t>((x * y) % 256)});
        image.SetAlpha(x, y, static_cast<std::uint8_t>((x + y * 37) % 256));
      }
    }
    if (!alpha) image.SetTransparentColor(Rgb{1, 2, 3});
    const PngImage back = PngImage::Decode(EncodePortraitPng(image), "portrait");
    ASSERT_EQ(back.Width(), 37);
    ASSERT_EQ(back.Height(), 23);
    EXPECT_EQ(back.ColorType(), alpha ? kPngRgbAlpha : kPngRgb);
    EXPECT_EQ(back.HasAlpha(), alpha);
    if (!alpha) {
      EXPECT_EQ(back.TransparentColor(), (std::optional<Rgb>{Rgb{1, 2, 3}}));
    }
    for (int y = 0; y < 23; ++y) {
      for (int x = 0; x < 37; ++x) {
        ASSERT_EQ(back.Pixel(x, y), image.Pixel(x, y)) << x << "," << y;
        ASSERT_EQ(back.Alpha(x, y), image.Alpha(x, y)) << x << "," << y;
      }
    }
  }
  EXPECT_THROW(EncodePortraitPng(PngImage{}), Error);
}

TEST(LayerCache, DecodesEachLayerOnceAndRemembersMissingFiles) {
  test::TempFolder folder;
  Flat(4, 4, Rgb{1, 2, 3})->Save(folder / "a.png");
  Flat(60, 60, Rgb{9, 9, 9}, 255)->Save(folder / "logo.png");
  LayerCache cache(folder.Path());
  const auto a = cache.Png(folder / "a.png");
  EXPECT_EQ(cache.Png(folder / "a.png"), a);
  EXPECT_EQ(cache.PngIfExists(folder / "a.png"), a);
  EXPECT_EQ(cache.PngIfExists(folder / "none.png"), nullptr);
  const auto logo = cache.Logo(folder / "logo.png", 30);
  ASSERT_NE(logo, nullptr);
  EXPECT_EQ(logo->Width(), 30);
  EXPECT_EQ(logo->Pixel(29, 29), (Rgb{9, 9, 9}));
  EXPECT_EQ(cache.Logo(folder / "logo.png", 30), logo);
  EXPECT_EQ(cache.Logo(folder / "none.png", 30), nullptr);
  EXPECT_EQ(cache.Decodes(), 2);
  // Tinted uniforms per design and colour pair; the design's templates are read once.
  const auto u1 = cache.GenericUniform(3, 0x0000FF, 0xFF0000);
  EXPECT_EQ(cache.GenericUniform(3, 0x0000FF, 0xFF0000), u1);
  EXPECT_NE(cache.GenericUniform(3, 0x00FF00, 0xFF0000), u1);
  EXPECT_EQ(cache.Decodes(), 3);
  try {
    cache.Png(folder / "none.png");
    FAIL() << "no error";
  } catch (const Error& error) {
    EXPECT_NE(std::string(error.what()).find("none.png"), std::string::npos);
  }
}

TEST(PortraitPool, WritesInParallelAndReportsInSubmissionOrder) {
  test::TempFolder folder;
  Flat(10, 10, Rgb{7, 8, 9}, 255)->Save(folder / "face.png");
  PortraitPool pool(3, 4);
  EXPECT_EQ(pool.Workers(), 3);
  std::vector<std::filesystem::path> outputs;
  int taken = 0;
  for (int i = 0; i < 20; ++i) {
    PortraitJob job;
    job.layers.background = Flat(90, 135, Rgb{static_cast<std::uint8_t>(i), 0, 0});
    job.layers.faceFile = folder / (i == 13 ? "gone.png" : "face.png");
    job.output = folder / ("p" + std::to_string(i) + ".png");
    outputs.push_back(job.output);
    pool.Submit(std::move(job));
    while (pool.Full()) {
      const PortraitResult r = pool.TakeNext();
      EXPECT_EQ(r.written, taken != 13) << taken;
      if (taken == 13) {
        EXPECT_NE(r.error.find("gone.png"), std::string::npos) << r.error;
      }
      ++taken;
    }
  }
  while (pool.Pending() > 0) {
    EXPECT_EQ(pool.TakeNext().written, taken != 13);
    ++taken;
  }
  EXPECT_EQ(taken, 20);
  for (int i = 0; i < 20; ++i) {
    EXPECT_EQ(std::filesystem::exists(outputs[static_cast<std::size_t>(i)]), i != 13);
    if (i == 13) continue;
    const PngImage p = PngImage::Load(outputs[static_cast<std::size_t>(i)]);
    EXPECT_EQ(p.Pixel(0, 0), (Rgb{static_cast<std::uint8_t>(i), 0, 0}));
    EXPECT_EQ(p.Pixel(7, 4), (Rgb{7, 8, 9}));
  }
}

}  // namespace
}  // namespace likentor
