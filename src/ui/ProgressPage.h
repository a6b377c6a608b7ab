// The page shown while the installation runs: a status line and a progress
// bar, without the banner.
#pragma once

#include <cstdint>

#include "text/WString.h"
#include "ui/WizardDialogPage.h"

class ProgressPage : public WizardDialogPage {
public:
    // Creates the status label (10, 130) and a bar of `barWidth` by 20
    // (10, 150), hidden, and shows progress 0.
    ProgressPage(GtkFixed* container, std::int32_t barWidth);

    // The status reads the finish text for exactly 100 and the start text
    // otherwise; the bar shows percent / 100, held within empty and full.
    // A widget is touched only when what it shows changes, so that a repeated
    // value costs no layout and no repaint.
    void SetProgress(std::int32_t percent);
    // The file being installed, for a screen reader: the bar's description
    // (its name is the status line, its value the percent).
    void SetCurrentFile(const AString& path);
    // The status line.
    AString Summary() const override;

    GtkWidget* statusLabel;
    GtkWidget* progressBar;
    AString startText;
    AString finishText;

private:
    std::int32_t barWidth_;
    const AString* shownStatus_ = nullptr;
    double shownFraction_ = -1;
};
