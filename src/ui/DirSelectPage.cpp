#include "ui/DirSelectPage.h"

#include "l10n/Messages.h"
#include "text/Convert.h"
#include "ui/GtkOwners.h"
#include "ui/TextFit.h"
#include "ui/TextLabel.h"

namespace {

AString Text(const char* id) { return ToAString(LoadResString(id)); }

// The prompt's text ends above the catalog label, whose line reaches the
// window's margin and ends above the entry.
constexpr gint kCatalogX = kTextBlockX;
constexpr gint kCatalogY = 255;
constexpr gint kPromptHeight = kCatalogY - 5 - kTextBlockY;
constexpr gint kCatalogWidth = 320;
constexpr gint kCatalogHeight = 20;

void OnBrowseClicked(GtkButton*, gpointer page) { static_cast<DirSelectPage*>(page)->ChooseFolder(); }

}  // namespace

DirSelectPage::DirSelectPage(GtkFixed* fixed, GdkPixbuf* banner) : WizardDialogPage(fixed) {
    image = gtk_image_new_from_pixbuf(banner);
    gtk_container_add(GTK_CONTAINER(container), image);
    Track(image);

    promptLabel = Track(MakeTextLabel(container));
    gtk_label_set_text(GTK_LABEL(promptLabel), Text("IDS_DESTINATION_PROMPT").c_str());
    FitText(promptLabel, kTextBlockWidth, kPromptHeight);

    catalogLabel = Place(gtk_label_new(Text("IDS_TEMPLATE_CATALOG").c_str()), kCatalogX, kCatalogY);
    FitText(catalogLabel, kCatalogWidth, kCatalogHeight);

    pathEntry = Place(gtk_entry_new(), 170, 275);
    gtk_widget_set_size_request(pathEntry, 280, 30);
    // Enter in the field means Next, as a person typing a path expects.
    gtk_entry_set_activates_default(GTK_ENTRY(pathEntry), TRUE);

    browseButton = Place(gtk_button_new_with_label("..."), 460, 275);
    gtk_widget_set_size_request(browseButton, 30, 30);
    g_signal_connect(browseButton, "clicked", G_CALLBACK(OnBrowseClicked), this);
}

void DirSelectPage::OnShow() {}

void DirSelectPage::SetPath(const WString& path) {
    gtk_entry_set_text(GTK_ENTRY(pathEntry), ToAString(path).c_str());
}

WString DirSelectPage::GetPath() const {
    const gchar* text = gtk_entry_get_text(GTK_ENTRY(pathEntry));
    if (text == nullptr) {
        return WString();
    }
    // A path the locale cannot carry whole would be cut short or altered and
    // name some other directory; empty, it makes the controller ask again.
    const WString path = ToWString(text);
    return ToAString(path) == AString(text) ? path : WString();
}

void DirSelectPage::ChooseFolder() {
    ToplevelWidget chooser(gtk_file_chooser_dialog_new(nullptr, nullptr, GTK_FILE_CHOOSER_ACTION_SELECT_FOLDER,
                                                       "gtk-cancel", GTK_RESPONSE_CANCEL, "gtk-open",
                                                       GTK_RESPONSE_ACCEPT, nullptr));
    gtk_window_set_modal(GTK_WINDOW(chooser.get()), TRUE);
    if (gtk_dialog_run(GTK_DIALOG(chooser.get())) != GTK_RESPONSE_ACCEPT) {
        return;
    }
    const GCharString folder(gtk_file_chooser_get_filename(GTK_FILE_CHOOSER(chooser.get())));
    if (folder != nullptr) {
        gtk_entry_set_text(GTK_ENTRY(pathEntry), folder.get());
    }
}
