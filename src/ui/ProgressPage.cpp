#include "ui/ProgressPage.h"

#include <algorithm>

#include "l10n/Messages.h"
#include "text/Convert.h"
#include "ui/Accessible.h"
#include "ui/TextFit.h"

namespace {

constexpr gint kStatusHeight = 20;  // from the label's top to the bar's

}  // namespace

ProgressPage::ProgressPage(GtkFixed* fixed, std::int32_t barWidth)
    : WizardDialogPage(fixed),
      startText(ToAString(LoadResString("IDS_PROGRESS_START"))),
      finishText(ToAString(LoadResString("IDS_INSTALL_FINISH"))),
      barWidth_(barWidth) {
    statusLabel = Place(gtk_label_new(nullptr), 10, 130);
    progressBar = Place(gtk_progress_bar_new(), 10, 150);
    gtk_widget_set_size_request(progressBar, barWidth, 20);
    SetProgress(0);
}

void ProgressPage::SetProgress(std::int32_t percent) {
    const AString* status = percent == 100 ? &finishText : &startText;
    if (status != shownStatus_) {
        gtk_label_set_text(GTK_LABEL(statusLabel), status->c_str());
        // The line above the bar is as wide as the bar.
        FitText(statusLabel, barWidth_, kStatusHeight);
        LabelWidget(progressBar, statusLabel);
        shownStatus_ = status;
    }
    // A value the worker should never post must not become a toolkit warning.
    const double fraction = std::clamp(percent / 100.0, 0.0, 1.0);
    if (fraction != shownFraction_) {
        gtk_progress_bar_set_fraction(GTK_PROGRESS_BAR(progressBar), fraction);
        shownFraction_ = fraction;
    }
}

void ProgressPage::SetCurrentFile(const AString& path) { SetAccessibleDescription(progressBar, path); }

AString ProgressPage::Summary() const { return *shownStatus_; }
