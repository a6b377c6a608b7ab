#include "ui/Images.h"

#include <utility>

#include "ui/BannerXpm.h"
#include "ui/IconXpm.h"

namespace {

// The loader only reads the data; its parameter lacks the const.
GdkPixbuf* FromXpm(const char* const* data) {
    return gdk_pixbuf_new_from_xpm_data(const_cast<const char**>(data));
}

}  // namespace

GdkPixbuf* CreateIconPixbuf() { return FromXpm(icon_xpm); }

GdkPixbuf* CreateBannerPixbuf() { return FromXpm(banner_xpm); }

PixbufRef& PixbufRef::operator=(PixbufRef&& other) noexcept {
    if (this != &other) {
        PixbufRef old(std::move(*this));
        pixbuf_ = other.release();
    }
    return *this;
}

PixbufRef::~PixbufRef() {
    if (pixbuf_ != nullptr) {
        g_object_unref(pixbuf_);
    }
}

GdkPixbuf* PixbufRef::release() noexcept {
    GdkPixbuf* pixbuf = pixbuf_;
    pixbuf_ = nullptr;
    return pixbuf;
}
