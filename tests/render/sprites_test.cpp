#include "render/sprites.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

namespace vornick {
namespace {

constexpr QRgb kBoardGreen = qRgb(0, 128, 17);

// Plain cells take a sprite's bottom-left texel; the selection frame is erased in the board
// green over the top two rows and the right column. The bundled images must agree with both.
TEST(BundledSprites, OpaqueTenByTenWithGreenWhereTheBoardNeedsIt) {
    const SpriteImages icon = CreateBitmapImages();
    for (int i = 0; i < kSpriteCount; ++i) {
        SCOPED_TRACE(128 + i);
        const QImage& image = icon[i];
        ASSERT_FALSE(image.isNull());
        ASSERT_EQ(image.size(), QSize(kSpriteSize, kSpriteSize));
        for (int y = 0; y < kSpriteSize; ++y) {
            for (int x = 0; x < kSpriteSize; ++x) {
                const QRgb c = image.pixel(x, y);
                EXPECT_EQ(qAlpha(c), 255) << x << "," << y;
                if (y < 2 || x == kSpriteSize - 1 || (x == 0 && y == kSpriteSize - 1)) {
                    EXPECT_EQ(c, kBoardGreen) << x << "," << y;
                }
            }
        }
    }
}

TEST(BundledSprites, HeadingsDiffer) {
    const SpriteImages icon = CreateBitmapImages();
    for (int a = 0; a < 4; ++a) {
        for (int b = a + 1; b < 4; ++b) EXPECT_NE(icon[a], icon[b]) << a << " vs " << b;
    }
}

QImage blocks(int block, const QList<QRgb>& colours) {  // colours.size() blocks across and down
    const int n = static_cast<int>(colours.size());
    QImage image(n * block, n * block, QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            image.setPixel(x, y, colours[(x / block + y / block) % n]);
        }
    }
    return image;
}

TEST(StageSprites, AnyImageSizeIsScaledToTheStagingSize) {
    const QList<QRgb> colours{qRgb(200, 0, 0), qRgb(0, 200, 0), qRgb(0, 0, 200), qRgb(90, 90, 90),
                              qRgb(250, 250, 0)};
    SpriteImages icon;
    icon[0] = blocks(4, colours);  // 20 x 20, reduced
    icon[1] = blocks(1, colours);  // 5 x 5, enlarged
    const SpriteImages staged = stage_sprites(icon, 10, 10);
    for (int i = 0; i < 2; ++i) {
        ASSERT_EQ(staged[i].size(), QSize(10, 10));
        for (int y = 0; y < 10; ++y) {
            for (int x = 0; x < 10; ++x) {
                EXPECT_EQ(staged[i].pixel(x, y), colours[(x / 2 + y / 2) % 5])
                    << "sprite " << i << " at " << x << "," << y;
            }
        }
    }
}

TEST(StageSprites, MissingImageRepeatsWhatThePreviousLeft) {
    SpriteImages icon;
    icon[1] = blocks(10, {qRgb(10, 20, 30)});
    const SpriteImages staged = stage_sprites(icon, 10, 10);
    EXPECT_EQ(staged[0].pixel(3, 3), qRgba(0, 0, 0, 0));  // nothing drawn yet
    for (int i = 2; i < kSpriteCount; ++i) EXPECT_EQ(staged[i], staged[1]) << i;
}

TEST(StageSprites, TranslucentImageShowsThePreviousThrough) {
    SpriteImages icon;
    icon[0] = blocks(10, {qRgb(0, 0, 255)});
    QImage clear(10, 10, QImage::Format_ARGB32);
    clear.fill(Qt::transparent);
    clear.setPixel(4, 4, qRgb(255, 0, 0));
    icon[1] = clear;
    const SpriteImages staged = stage_sprites(icon, 10, 10);
    EXPECT_EQ(staged[1].pixel(0, 0), qRgb(0, 0, 255));
    EXPECT_EQ(staged[1].pixel(4, 4), qRgb(255, 0, 0));
}

TEST(CreateBitmapImages, MissingAndUndecodableFilesAreNull) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(QFile::copy(":/sprites/128.png", dir.filePath("128.png")));
    QFile junk(dir.filePath("129.png"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("\x89PNG not really");
    junk.close();

    const SpriteImages icon = CreateBitmapImages(dir.path());
    EXPECT_FALSE(icon[0].isNull());
    for (int i = 1; i < kSpriteCount; ++i) EXPECT_TRUE(icon[i].isNull()) << i;
    const SpriteImages staged = stage_sprites(icon, 10, 10);
    EXPECT_EQ(staged[12], staged[0]);
}

}  // namespace
}  // namespace vornick
