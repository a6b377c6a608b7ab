// The built-in pictures: XPM data of the required form (size, 256 colours of 2
// characters, transparency only in the icon), their pixbufs and the pixbuf holder.

#include <gdk-pixbuf/gdk-pixbuf.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string_view>
#include <iterator>

#include "ui/BannerXpm.h"
#include "ui/IconXpm.h"
#include "ui/Images.h"

TEST(Images, XpmDataAndPixbufsHaveTheRequiredForm) {
    const struct {
        const char* const* xpm;
        std::size_t lines;
        GdkPixbuf* (*create)();
        const char* header;
        int width, height, transparent;
    } cases[] = {
        {icon_xpm, std::size(icon_xpm), CreateIconPixbuf, "256 256 256 2", 256, 256, 1},
        {banner_xpm, std::size(banner_xpm), CreateBannerPixbuf, "158 286 256 2", 158, 286, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.header);
        ASSERT_STREQ(c.xpm[0], c.header);
        ASSERT_EQ(c.lines, 1u + 256u + static_cast<std::size_t>(c.height));
        const auto isNone = [](std::string_view colour) { return colour.ends_with(" c None"); };
        EXPECT_EQ(std::count_if(c.xpm + 1, c.xpm + 1 + 256, isNone), c.transparent);
        const PixbufRef pixbuf(c.create());
        ASSERT_TRUE(pixbuf);
        EXPECT_EQ(gdk_pixbuf_get_width(pixbuf.get()), c.width);
        EXPECT_EQ(gdk_pixbuf_get_height(pixbuf.get()), c.height);
        EXPECT_EQ(gdk_pixbuf_get_has_alpha(pixbuf.get()) != FALSE, c.transparent > 0);
    }
}

TEST(Images, PixbufRefGivesUpItsPixbufWhenAssignedAnother) {
    PixbufRef holder(CreateIconPixbuf());
    gpointer alive = holder.get();
    g_object_add_weak_pointer(G_OBJECT(holder.get()), &alive);
    holder = PixbufRef(CreateBannerPixbuf());
    EXPECT_EQ(alive, nullptr);
}
