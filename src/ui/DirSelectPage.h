// The page on which the user confirms or chooses the template directory:
// the banner, a prompt, an entry holding the path and a "..." button that
// opens a folder chooser.
#pragma once

#include "text/WString.h"
#include "ui/WizardDialogPage.h"

class DirSelectPage : public WizardDialogPage {
public:
    // Creates the page's widgets, hidden. `banner` is not taken over.
    DirSelectPage(GtkFixed* container, GdkPixbuf* banner);

    void OnShow() override;
    // The entry: a person confirms or types the path first.
    GtkWidget* FirstControl() const override;
    // The prompt above the entry.
    AString Summary() const override;

    // Puts the path, in the locale's encoding, into the entry.
    void SetPath(const WString& path);
    // The entry's text decoded from the locale's encoding; empty when the
    // entry is empty or when its text does not survive the decoding whole
    // (it would name another directory).
    WString GetPath() const;
    // Runs a modal folder chooser over the wizard; an accepted folder
    // replaces the entry's text, any other answer leaves it unchanged. The
    // focus then returns to the wizard's control that had it.
    void ChooseFolder();

    GtkWidget* image;
    GtkWidget* pathEntry;
    GtkWidget* promptLabel;
    GtkWidget* catalogLabel;
    GtkWidget* browseButton;

private:
    // Asks, and puts an accepted folder into the entry.
    void RunFolderChooser(GtkWindow* wizard);
};
