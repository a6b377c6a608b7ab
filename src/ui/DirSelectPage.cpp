#include "ui/DirSelectPage.h"

#include "l10n/Messages.h"
#include "text/Convert.h"
#include "ui/Accessible.h"
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

// The wizard window holding `widget`; null while it lies in none.
GtkWindow* WindowOf(GtkWidget* widget) {
    GtkWidget* top = gtk_widget_get_toplevel(widget);
    return GTK_IS_WINDOW(top) ? GTK_WINDOW(top) : nullptr;
}

void OnBrowseClicked(GtkButton*, gpointer page) { static_cast<DirSelectPage*>(page)->ChooseFolder(); }

}  // namespace

DirSelectPage::DirSelectPage(GtkFixed* fixed, GdkPixbuf* banner) : WizardDialogPage(fixed) {
    image = gtk_image_new_from_pixbuf(banner);
    gtk_container_add(GTK_CONTAINER(container), image);
    MarkDecoration(image);
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
    LabelWidget(pathEntry, catalogLabel);

    browseButton = Place(gtk_button_new_with_label("..."), 460, 275);
    gtk_widget_set_size_request(browseButton, 30, 30);
    // "..." read aloud says nothing: the button is named after the window it
    // opens, and a pointer resting on it shows that name too.
    const AString browseName = Text("IDS_CHOOSEDIR_TITLE");
    SetAccessibleName(browseButton, browseName);
    gtk_widget_set_tooltip_text(browseButton, browseName.c_str());
    g_signal_connect(browseButton, "clicked", G_CALLBACK(OnBrowseClicked), this);
}

void DirSelectPage::OnShow() {}

GtkWidget* DirSelectPage::FirstControl() const { return pathEntry; }

AString DirSelectPage::Summary() const { return AString(gtk_label_get_text(GTK_LABEL(promptLabel))); }

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
    GtkWindow* wizard = WindowOf(browseButton);
    RunFolderChooser(wizard);
    // The focus comes back to the wizard, on the control that had it.
    if (wizard != nullptr && GTK_WIDGET_VISIBLE(GTK_WIDGET(wizard))) gtk_window_present(wizard);
}

void DirSelectPage::RunFolderChooser(GtkWindow* wizard) {
    ToplevelWidget chooser(gtk_file_chooser_dialog_new(Text("IDS_CHOOSEDIR_TITLE").c_str(), wizard,
                                                       GTK_FILE_CHOOSER_ACTION_SELECT_FOLDER, "gtk-cancel",
                                                       GTK_RESPONSE_CANCEL, "gtk-open", GTK_RESPONSE_ACCEPT, nullptr));
    gtk_window_set_modal(GTK_WINDOW(chooser.get()), TRUE);
    gtk_dialog_set_default_response(GTK_DIALOG(chooser.get()), GTK_RESPONSE_ACCEPT);
    if (gtk_dialog_run(GTK_DIALOG(chooser.get())) != GTK_RESPONSE_ACCEPT) return;
    const GCharString folder(gtk_file_chooser_get_filename(GTK_FILE_CHOOSER(chooser.get())));
    if (folder != nullptr) gtk_entry_set_text(GTK_ENTRY(pathEntry), folder.get());
}
