// The two pictures built into the installer: the window icon and the banner
// at the left of the pages, turned into pixbufs from their XPM data.
#pragma once

#include <gdk-pixbuf/gdk-pixbuf.h>

// A new 256 by 256 icon with a transparent surround; the caller owns the
// reference. Null only if the toolkit cannot allocate the pixbuf.
GdkPixbuf* CreateIconPixbuf();
// A new 158 by 286 opaque banner; the caller owns the reference. Null only
// if the toolkit cannot allocate the pixbuf.
GdkPixbuf* CreateBannerPixbuf();

// Holds one reference to a pixbuf and drops it (g_object_unref) at the end.
class PixbufRef {
public:
    PixbufRef() noexcept = default;
    explicit PixbufRef(GdkPixbuf* pixbuf) noexcept : pixbuf_(pixbuf) {}
    PixbufRef(PixbufRef&& other) noexcept : pixbuf_(other.release()) {}
    PixbufRef& operator=(PixbufRef&& other) noexcept;
    PixbufRef(const PixbufRef&) = delete;
    PixbufRef& operator=(const PixbufRef&) = delete;
    ~PixbufRef();

    GdkPixbuf* get() const noexcept { return pixbuf_; }
    // Gives the reference to the caller; the holder is empty afterwards.
    GdkPixbuf* release() noexcept;
    explicit operator bool() const noexcept { return pixbuf_ != nullptr; }

private:
    GdkPixbuf* pixbuf_ = nullptr;
};
