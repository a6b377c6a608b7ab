#include "ui/TextFit.h"

#include <algorithm>

namespace {

struct Size {
    gint width;
    gint height;
};

GtkLabel* LabelOf(GtkWidget* widget) {
    if (GTK_IS_LABEL(widget)) return GTK_LABEL(widget);
    GtkWidget* child = GTK_IS_BIN(widget) ? gtk_bin_get_child(GTK_BIN(widget)) : nullptr;
    return child != nullptr && GTK_IS_LABEL(child) ? GTK_LABEL(child) : nullptr;
}

// Draws the label's whole text at `percent` of the toolkit's font.
void SetTextScale(GtkLabel* label, int percent) {
    PangoAttrList* attributes = pango_attr_list_new();
    if (percent != 100) pango_attr_list_insert(attributes, pango_attr_scale_new(percent / 100.0));
    gtk_label_set_attributes(label, attributes);
    pango_attr_list_unref(attributes);
}

// The label's text as drawn, with the label's padding.
Size TextSize(GtkLabel* label) {
    Size size{};
    pango_layout_get_pixel_size(gtk_label_get_layout(label), &size.width, &size.height);
    gint xpad = 0;
    gint ypad = 0;
    gtk_misc_get_padding(GTK_MISC(label), &xpad, &ypad);
    return {size.width + 2 * xpad, size.height + 2 * ypad};
}

// What the widget puts around its label, measured as the widget's natural
// size without the size the caller forced on it.
Size FrameAround(GtkWidget* widget, GtkLabel* label) {
    if (widget == GTK_WIDGET(label)) return {0, 0};
    gint forcedWidth = -1;
    gint forcedHeight = -1;
    gtk_widget_get_size_request(widget, &forcedWidth, &forcedHeight);
    gtk_widget_set_size_request(widget, -1, -1);
    GtkRequisition whole{};
    gtk_widget_size_request(widget, &whole);
    gtk_widget_set_size_request(widget, forcedWidth, forcedHeight);
    GtkRequisition text{};
    gtk_widget_size_request(GTK_WIDGET(label), &text);
    return {whole.width - text.width, whole.height - text.height};
}

bool Within(Size needed, gint width, gint height) {
    return (width < 0 || needed.width <= width) && (height < 0 || needed.height <= height);
}

// A text too long even at the floor: what is cut is marked, and the whole text is a pointer's rest away.
void MarkCut(GtkWidget* widget, GtkLabel* label, bool cut) {
    const bool oneLine = !gtk_label_get_line_wrap(label);
    if (oneLine) gtk_label_set_ellipsize(label, cut ? PANGO_ELLIPSIZE_END : PANGO_ELLIPSIZE_NONE);
    gtk_widget_set_tooltip_text(widget, cut ? gtk_label_get_text(label) : nullptr);
}

}  // namespace

gint TextWidthNeeded(GtkWidget* widget) {
    GtkLabel* label = LabelOf(widget);
    if (label == nullptr) return 0;
    MarkCut(widget, label, false);  // an end cut earlier would be measured instead of the text
    SetTextScale(label, 100);
    return FrameAround(widget, label).width + TextSize(label).width;
}

bool FitText(GtkWidget* widget, gint width, gint height) {
    GtkLabel* label = LabelOf(widget);
    if (label == nullptr) return true;
    MarkCut(widget, label, false);
    SetTextScale(label, 100);
    const Size frame = FrameAround(widget, label);
    // What is left for the text; never below 0, which would read as no limit.
    const gint textWidth = width < 0 ? -1 : std::max(0, width - frame.width);
    const gint textHeight = height < 0 ? -1 : std::max(0, height - frame.height);
    const int floor = static_cast<int>(kSmallestTextScale * 100);
    for (int percent = 100;; --percent) {
        if (percent != 100) SetTextScale(label, percent);
        if (Within(TextSize(label), textWidth, textHeight)) return true;
        if (percent <= floor) {
            MarkCut(widget, label, true);
            return false;
        }
    }
}
