// The built-in pictures: the form of their XPM data (size, a 256-colour
// table, 2 characters per pixel, transparency only in the icon), the pixbufs
// made from them, and the reference holder.

#include <gdk-pixbuf/gdk-pixbuf.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <utility>

#include "ui/BannerXpm.h"
#include "ui/IconXpm.h"
#include "ui/Images.h"

namespace {

struct XpmForm {
    int width = 0;
    int height = 0;
    int colours = 0;
    int charsPerPixel = 0;
    int transparent = 0;       // colours given as "None"
    int duplicateColours = 0;  // colour values that appear more than once
    int badRows = 0;           // rows of the wrong length or with unknown keys
};

XpmForm Parse(const char* const* xpm, std::size_t lines) {
    XpmForm form;
    if (std::sscanf(xpm[0], "%d %d %d %d", &form.width, &form.height, &form.colours, &form.charsPerPixel) != 4 ||
        lines != 1 + static_cast<std::size_t>(form.colours + form.height)) {
        return form;
    }
    const std::size_t cpp = static_cast<std::size_t>(form.charsPerPixel);
    std::set<std::string> keys;
    std::set<std::string> values;
    for (int i = 1; i <= form.colours; ++i) {
        const std::string line = xpm[i];
        keys.insert(line.substr(0, cpp));
        const std::string value = line.substr(cpp + 3);  // after "<key> c "
        form.transparent += value == "None" ? 1 : 0;
        form.duplicateColours += values.insert(value).second ? 0 : 1;
    }
    form.duplicateColours += form.colours - static_cast<int>(keys.size());
    for (int row = 0; row < form.height; ++row) {
        const std::string pixels = xpm[1 + form.colours + row];
        bool good = pixels.size() == cpp * static_cast<std::size_t>(form.width);
        for (std::size_t at = 0; good && at < pixels.size(); at += cpp) {
            good = keys.count(pixels.substr(at, cpp)) == 1;
        }
        form.badRows += good ? 0 : 1;
    }
    return form;
}

struct PixelReader {
    explicit PixelReader(GdkPixbuf* pixbuf)
        : pixels(gdk_pixbuf_get_pixels(pixbuf)),
          stride(gdk_pixbuf_get_rowstride(pixbuf)),
          channels(gdk_pixbuf_get_n_channels(pixbuf)) {}
    const guchar* at(int x, int y) const { return pixels + y * stride + x * channels; }
    const guchar* pixels;
    int stride;
    int channels;
};

}  // namespace

TEST(Images, XpmDataHasTheRequiredForm) {
    const struct {
        const char* name;
        const char* const* xpm;
        std::size_t lines;
        const char* header;
        int transparent;
    } cases[] = {
        {"icon", icon_xpm, std::size(icon_xpm), "256 256 256 2", 1},
        {"banner", banner_xpm, std::size(banner_xpm), "158 286 256 2", 0},
    };
    for (const auto& c : cases) {
        EXPECT_STREQ(c.xpm[0], c.header) << c.name;
        const XpmForm form = Parse(c.xpm, c.lines);
        EXPECT_EQ(form.colours, 256) << c.name;
        EXPECT_EQ(form.charsPerPixel, 2) << c.name;
        EXPECT_EQ(form.transparent, c.transparent) << c.name;
        EXPECT_EQ(form.duplicateColours, 0) << c.name;
        EXPECT_EQ(form.badRows, 0) << c.name;
    }
}

TEST(Images, IconIsAnOpaqueBadgeOnTransparency) {
    PixbufRef icon(CreateIconPixbuf());
    ASSERT_TRUE(icon);
    EXPECT_EQ(gdk_pixbuf_get_width(icon.get()), 256);
    EXPECT_EQ(gdk_pixbuf_get_height(icon.get()), 256);
    ASSERT_TRUE(gdk_pixbuf_get_has_alpha(icon.get()));
    const PixelReader read(icon.get());
    for (const auto& [x, y] : {std::pair{0, 0}, {255, 0}, {0, 255}, {255, 255}}) {
        EXPECT_EQ(read.at(x, y)[3], 0) << x << "," << y;
    }
    for (const auto& [x, y] : {std::pair{128, 128}, {128, 20}, {20, 128}, {236, 128}}) {
        EXPECT_EQ(read.at(x, y)[3], 255) << x << "," << y;
    }
}

TEST(Images, BannerIsAnOpaquePictureInRedTones) {
    PixbufRef banner(CreateBannerPixbuf());
    ASSERT_TRUE(banner);
    EXPECT_EQ(gdk_pixbuf_get_width(banner.get()), 158);
    EXPECT_EQ(gdk_pixbuf_get_height(banner.get()), 286);
    EXPECT_FALSE(gdk_pixbuf_get_has_alpha(banner.get()));
    const PixelReader read(banner.get());
    int notRed = 0;
    for (int y = 0; y < 286; ++y) {
        for (int x = 0; x < 158; ++x) {
            const guchar* p = read.at(x, y);
            notRed += (p[0] >= p[1] && p[0] >= p[2]) ? 0 : 1;
        }
    }
    EXPECT_EQ(notRed, 0);
}

TEST(Images, PixbufRefDropsItsReferenceOnce) {
    GdkPixbuf* first = CreateBannerPixbuf();
    GdkPixbuf* second = CreateIconPixbuf();
    gpointer firstAlive = first;
    gpointer secondAlive = second;
    g_object_add_weak_pointer(G_OBJECT(first), &firstAlive);
    g_object_add_weak_pointer(G_OBJECT(second), &secondAlive);
    {
        PixbufRef holder(first);
        PixbufRef moved(std::move(holder));
        EXPECT_EQ(holder.get(), nullptr);
        EXPECT_EQ(moved.get(), first);
        moved = PixbufRef(second);  // gives up the first
        EXPECT_EQ(firstAlive, nullptr);
        EXPECT_NE(secondAlive, nullptr);
    }
    EXPECT_EQ(secondAlive, nullptr);
}

TEST(Images, ReleasedPixbufBelongsToTheCaller) {
    PixbufRef holder(CreateIconPixbuf());
    GdkPixbuf* released = holder.release();
    ASSERT_NE(released, nullptr);
    EXPECT_FALSE(holder);
    EXPECT_EQ(G_OBJECT(released)->ref_count, 1u);
    g_object_unref(released);
}
