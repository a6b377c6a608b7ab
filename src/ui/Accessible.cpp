#include "ui/Accessible.h"

void SetAccessibleName(GtkWidget* widget, const AString& name) {
    atk_object_set_name(gtk_widget_get_accessible(widget), name.c_str());
}

void SetAccessibleDescription(GtkWidget* widget, const AString& text) {
    atk_object_set_description(gtk_widget_get_accessible(widget), text.c_str());
}

void LabelWidget(GtkWidget* widget, GtkWidget* label) {
    AtkObject* target = gtk_widget_get_accessible(widget);
    AtkObject* caption = gtk_widget_get_accessible(label);
    // A second call (a page built again) must not list the label twice.
    AtkRelationSet* relations = atk_object_ref_relation_set(target);
    const bool known = atk_relation_set_contains_target(relations, ATK_RELATION_LABELLED_BY, caption) != FALSE;
    g_object_unref(relations);
    if (!known) {
        atk_object_add_relationship(target, ATK_RELATION_LABELLED_BY, caption);
        atk_object_add_relationship(caption, ATK_RELATION_LABEL_FOR, target);
    }
    SetAccessibleName(widget, WithoutClosingColon(AString(gtk_label_get_text(GTK_LABEL(label)))));
}

void MarkDecoration(GtkWidget* image) {
    AtkObject* object = gtk_widget_get_accessible(image);
    atk_object_set_role(object, ATK_ROLE_REDUNDANT_OBJECT);
    atk_object_set_name(object, "");
}

AString WithoutClosingColon(const AString& caption) {
    std::size_t end = caption.length();
    while (end > 0 && (caption[end - 1] == ':' || caption[end - 1] == ' ')) --end;
    return caption.substr(0, end);
}
