// The wizard window: the fixed-size window, its three buttons, page
// switching, the close question and the message box.
#include "ui/InstallerDlg.h"

#include <gdk/gdkkeysyms.h>
#include <unistd.h>

#include <cstdio>

#include "app/InstallerController.h"
#include "app/TerminationSignals.h"
#include "l10n/Messages.h"
#include "platform/DesktopOpen.h"
#include "text/Convert.h"
#include "ui/Accessible.h"
#include "ui/ButtonRow.h"
#include "ui/DirSelectPage.h"
#include "ui/DisplayLoss.h"
#include "ui/MessageBox.h"
#include "ui/MessagePage.h"
#include "ui/ProgressPage.h"
#include "ui/SuccessFinalPage.h"
#include "ui/WizardDialogPage.h"

namespace {

// While the worker runs, the progress loop looks at its progress this often,
// a little less often than the pacer lets the page change, so that every look
// may show what it finds. Woken for every percent instead, it spent more time
// on a short installation than all of the window's drawing.
constexpr guint kPollIntervalMs = ProgressPacer::kIntervalMicroseconds / 1000 + 7;

gboolean KeepPolling(gpointer) { return TRUE; }

}  // namespace

CInstallerDlg::CInstallerDlg(bool silent, const WString& title) : silent_(silent), title_(ToAString(title)) {}

CInstallerDlg::~CInstallerDlg() {
    if (pollSource_ != 0) g_source_remove(pollSource_);
    if (window_ != nullptr) gtk_widget_destroy(window_);
}

WString CInstallerDlg::GetTitle() const { return ToWString(title_); }

void CInstallerDlg::ConnectController(InstallerController* controller) {
    controller_ = controller;
    if (controller_ == nullptr) {
        signals_.reset();
        return;
    }
    signals_ = std::make_unique<MainLoopSignals>(&CInstallerDlg::OnTerminationSignal, this);
    WatchDisplayLoss(&CInstallerDlg::OnDisplayLost, this);
}

void CInstallerDlg::OnTerminationSignal(void* dialog) {
    auto* self = static_cast<CInstallerDlg*>(dialog);
    if (self->controller_ != nullptr) self->controller_->OnTerminationSignal();
}

void CInstallerDlg::OnDisplayLost(void* dialog) {
    auto* self = static_cast<CInstallerDlg*>(dialog);
    // Nothing of the toolkit works any more; the worker never needed it.
    if (self->controller_ != nullptr) self->controller_->AbandonRun();
    _exit(static_cast<int>(ExitStatus::Unexpected));
}

std::int32_t CInstallerDlg::ShowMessage(const WString& text, std::uint32_t flags) {
    return MessageBox(this, text, flags);
}

void CInstallerDlg::ShowWelcome(const WString& text, bool silent) {
    if (window_ == nullptr) CreateWizardWindow();
    if (!welcomePage_) welcomePage_ = std::make_unique<MessagePage>(fixed_, bannerPixbuf_.get(), text);
    else welcomePage_->SetText(text);
    if (silent) {
        gtk_widget_hide(backButton_);
        gtk_widget_hide(nextButton_);
    } else {
        gtk_widget_set_sensitive(backButton_, FALSE);
    }
    ShowPage(welcomePage_.get());
}

void CInstallerDlg::WaitUntilClosed() { gtk_main(); }

void CInstallerDlg::Close() {
    if (window_ != nullptr) gtk_widget_destroy(window_);
}

void CInstallerDlg::BeginInstallation(const WString&, ProgressState& progress) {
    if (!progressPage_) progressPage_ = std::make_unique<ProgressPage>(fixed_, width_ - 20);
    gtk_widget_set_sensitive(backButton_, FALSE);
    gtk_widget_set_sensitive(nextButton_, FALSE);
    ShowPage(progressPage_.get());
    // The end is shown at once; the steps before it at the next look.
    progress.SetWakeUp([](bool endsTheJob) {
        if (endsTheJob) g_main_context_wakeup(nullptr);
    });
    pollSource_ = g_timeout_add(kPollIntervalMs, &KeepPolling, nullptr);
}

void CInstallerDlg::ShowProgress(const ProgressReport& report) {
    // The last report is always shown; the ones before it at the pacer's rate.
    const bool ended = report.status != ERR_NONE || report.percent >= 100;
    if (ended || progressPacer_.Admit(report.percent, g_get_monotonic_time())) {
        progressPage_->SetProgress(report.percent);
        if (!ended) progressPage_->SetCurrentFile(ToAString(report.message));
    }
}

void CInstallerDlg::WaitForProgress(ProgressState&) { gtk_main_iteration(); }

void CInstallerDlg::ShowOutcome(const ProgressReport& report, ExitStatus status) {
    if (pollSource_ != 0) g_source_remove(pollSource_);
    pollSource_ = 0;
    switch (status) {
    case ExitStatus::Success: {
        const bool uninstalled = report.summary != nullptr && report.summary->kind == RunSummary::Kind::Uninstall;
        successHeadline_ = LoadResString(uninstalled ? "IDS_UNINSTALL_SUCCESS" : "IDS_SUCCESS_FINISH");
        offersDescription_ = !uninstalled;
        ShowSuccessPage();
        break;
    }
    case ExitStatus::Cancelled: ShowErrorPage(LoadResString("IDS_CANCEL_FINISH")); break;
    case ExitStatus::NoRecord: ShowErrorPage(report.message); break;  // it says that nothing was changed
    case ExitStatus::RollbackIncomplete: {
        // Not everything is as it was: the page must not say otherwise.
        // Without a kept backup the job's message says what stayed.
        const WString text = report.keptBackup.empty() ? report.message
                                                       : LoadResString("IDS_BACKUP_KEPT") + u" " + report.keptBackup;
        MessageBox(this, text, MB_ERROR_OK);
        ShowErrorPage(text);
        break;
    }
    default:
        MessageBox(this, report.message, MB_ERROR_OK);
        ShowErrorPage(LoadResString("IDS_ERROR_FINISH"));
        break;
    }
    // Stopped by a signal: nobody is waiting to press Finish.
    if (TerminationSignals::Requested() && window_ != nullptr) gtk_widget_destroy(window_);
}

void CInstallerDlg::CreateWizardWindow() {
    window_ = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    InitWindowProperties();
    gtk_window_set_title(GTK_WINDOW(window_), title_.c_str());

    const ButtonRow row = MakeButtonRow(fixed_, width_);
    backButton_ = row.back;
    nextButton_ = row.next;
    cancelButton_ = row.cancel;
    gtk_widget_grab_default(nextButton_);

    g_signal_connect(backButton_, "clicked", G_CALLBACK(&CInstallerDlg::OnBackClicked), this);
    g_signal_connect(nextButton_, "clicked", G_CALLBACK(&CInstallerDlg::OnNextClicked), this);
    g_signal_connect(cancelButton_, "clicked", G_CALLBACK(&CInstallerDlg::OnCancelClicked), this);

    gtk_widget_show_all(GTK_WIDGET(fixed_));
    bannerPixbuf_ = PixbufRef(CreateBannerPixbuf());
    gtk_widget_show(window_);
}

void CInstallerDlg::InitWindowProperties() {
    GtkWindow* window = GTK_WINDOW(window_);
    gtk_window_set_position(window, GTK_WIN_POS_CENTER);
    GdkGeometry hints{};
    hints.min_width = hints.max_width = hints.base_width = width_;
    hints.min_height = hints.max_height = hints.base_height = height_;
    gtk_window_set_geometry_hints(window, nullptr, &hints,
                                  GdkWindowHints(GDK_HINT_MIN_SIZE | GDK_HINT_MAX_SIZE | GDK_HINT_BASE_SIZE));
    gtk_window_set_default_size(window, width_, height_);
    gtk_window_set_resizable(window, FALSE);
    gtk_window_set_modal(window, TRUE);
    gtk_window_set_type_hint(window, GDK_WINDOW_TYPE_HINT_MENU);
    iconPixbuf_ = PixbufRef(CreateIconPixbuf());
    gtk_window_set_icon(window, iconPixbuf_.get());

    fixed_ = GTK_FIXED(gtk_fixed_new());
    gtk_container_add(GTK_CONTAINER(window_), GTK_WIDGET(fixed_));

    g_signal_connect(window_, "destroy", G_CALLBACK(&CInstallerDlg::OnWindowDestroyed), this);
    g_signal_connect(window_, "key_press_event", G_CALLBACK(&CInstallerDlg::OnKeyPress), this);
    g_signal_connect(window_, "delete_event", G_CALLBACK(&CInstallerDlg::OnDeleteEvent), this);
}

void CInstallerDlg::ShowPage(WizardDialogPage* page) {
    if (currentPage_ != nullptr) {
        for (GtkWidget* widget : currentPage_->widgets) gtk_widget_hide(widget);
    }
    currentPage_ = page;
    if (page == nullptr) return;
    for (GtkWidget* widget : page->widgets) gtk_widget_show(widget);
    page->OnShow();
    FocusFirstControl(*page);
}

namespace {

bool Usable(GtkWidget* widget) {
    return widget != nullptr && GTK_WIDGET_VISIBLE(widget) && GTK_WIDGET_IS_SENSITIVE(widget);
}

}  // namespace

// The focus moves with every page, so a screen reader announces the change:
// the control that gets it carries the page's text as its description.
void CInstallerDlg::FocusFirstControl(const WizardDialogPage& page) {
    for (GtkWidget* button : {backButton_, nextButton_, cancelButton_}) {
        if (button != nullptr) SetAccessibleDescription(button, AString());
    }
    GtkWidget* first = page.FirstControl();
    if (first == nullptr) first = Usable(nextButton_) ? nextButton_ : Usable(cancelButton_) ? cancelButton_ : nullptr;
    if (first == nullptr) return;
    SetAccessibleDescription(first, page.Summary());
    gtk_widget_grab_focus(first);
}

void CInstallerDlg::SetFinishButtons() {
    if (nextButton_ == nullptr) return;
    gtk_widget_set_sensitive(nextButton_, TRUE);
    gtk_widget_set_sensitive(cancelButton_, FALSE);
    gtk_widget_hide(backButton_);
    gtk_widget_show(nextButton_);
    SetButtonText(ButtonRow{backButton_, nextButton_, cancelButton_, width_}, nextButton_, "IDS_WIZARD_FINISH");
    GTK_WIDGET_SET_FLAGS(nextButton_, GTK_CAN_DEFAULT);
    gtk_widget_grab_default(nextButton_);
}

void CInstallerDlg::ShowNote(const WString& text) {
    if (silent_) std::fprintf(stderr, "%s: %s\n", title_.c_str(), ToAString(text).c_str());
    if (!successPage_) return;
    const WString headline = successHeadline_.empty() ? LoadResString("IDS_SUCCESS_FINISH") : successHeadline_;
    successPage_->SetText(headline + u"\n\n" + text);
    if (currentPage_ == successPage_.get()) FocusFirstControl(*successPage_);
}

void CInstallerDlg::OfferDescriptionDocument(const WString& path) {
    if (successPage_ == nullptr || !successPage_->IsOpenDescriptionChecked()) return;
    // The viewer's fate is not the installer's concern: nothing is reported.
    (void)OpenWithDesktop(path);
}

void CInstallerDlg::ShowSuccessPage() {
    if (successHeadline_.empty()) successHeadline_ = LoadResString("IDS_SUCCESS_FINISH");
    if (!successPage_ && fixed_ != nullptr) {
        successPage_ = std::make_unique<SuccessFinalPage>(fixed_, bannerPixbuf_.get(), successHeadline_);
    }
    if (successPage_) {
        successPage_->SetText(successHeadline_);
        successPage_->OfferDescription(offersDescription_);
    }
    SetFinishButtons();
    ShowPage(successPage_.get());
}

void CInstallerDlg::ShowErrorPage(const WString& text) {
    if (!errorPage_ && fixed_ != nullptr) errorPage_ = std::make_unique<MessagePage>(fixed_, bannerPixbuf_.get(), text);
    if (errorPage_) errorPage_->SetText(text);
    SetFinishButtons();
    ShowPage(errorPage_.get());
}

void CInstallerDlg::AskDirectory(const WString& proposal) {
    if (!dirPage_) dirPage_ = std::make_unique<DirSelectPage>(fixed_, bannerPixbuf_.get());
    dirPage_->SetPath(proposal);
    gtk_widget_set_sensitive(backButton_, TRUE);
    gtk_widget_set_sensitive(nextButton_, TRUE);
    ShowPage(dirPage_.get());
}

void CInstallerDlg::ConfirmClose() {
    if (confirmCancel_ && ShowMessage(LoadResString("IDS_ACCEPT_CANCEL"), MB_QUESTION_YESNO) != IDYES) return;
    if (window_ != nullptr) gtk_widget_destroy(window_);
}

void CInstallerDlg::HandleCancel() {
    if (controller_ != nullptr && controller_->StopInstallation()) return;
    ConfirmClose();
}

void CInstallerDlg::OnBackClicked(GtkButton*, gpointer dialog) {
    auto* self = static_cast<CInstallerDlg*>(dialog);
    if (self->controller_ != nullptr) self->controller_->Back();
}

void CInstallerDlg::OnNextClicked(GtkButton*, gpointer dialog) { static_cast<CInstallerDlg*>(dialog)->HandleNext(); }

void CInstallerDlg::HandleNext() {
    if (controller_ == nullptr) return;
    if (controller_->state() == STATE_DIRECTORY) {
        controller_->AcceptDirectory(dirPage_->GetPath());
        return;
    }
    controller_->Next();
}

void CInstallerDlg::OnCancelClicked(GtkButton*, gpointer dialog) { static_cast<CInstallerDlg*>(dialog)->HandleCancel(); }

gboolean CInstallerDlg::OnKeyPress(GtkWidget*, GdkEventKey* event, gpointer dialog) {
    if (event->keyval != GDK_Escape) return FALSE;
    static_cast<CInstallerDlg*>(dialog)->HandleCancel();
    return TRUE;
}

void CInstallerDlg::OnWindowDestroyed(GtkWidget*, gpointer dialog) {
    auto* self = static_cast<CInstallerDlg*>(dialog);
    self->window_ = nullptr;
    self->fixed_ = nullptr;
    self->backButton_ = self->nextButton_ = self->cancelButton_ = nullptr;
    // The window's end is the wizard's end; outside the main loop (silent
    // mode, or the dialog going away) there is nothing to quit.
    if (gtk_main_level() > 0) gtk_main_quit();
}

gboolean CInstallerDlg::OnDeleteEvent(GtkWidget*, GdkEvent*, gpointer dialog) {
    auto* self = static_cast<CInstallerDlg*>(dialog);
    // While the job runs the progress loop still needs the page widgets:
    // closing then means cancelling, and the window stays.
    return self->controller_ != nullptr && self->controller_->StopInstallation() ? TRUE : FALSE;
}
