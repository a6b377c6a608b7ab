// English texts of the installer's messages, in the common identifier order.
#include "l10n/MessageList.h"

namespace {

constexpr MessageText kTexts[] = {
    {"IDS_WIZARD_BACK", "< Back"},
    {"IDS_WIZARD_NEXT", "Next >"},
    {"IDS_WIZARD_FINISH", "Finish"},
    {"IDS_WIZARD_CANCEL", "Cancel"},
    {"IDS_ACCEPT_CANCEL", "Do you really want to cancel installation?"},
    {"IDS_TITLE_INSTALLER", "Installing configuration"},
    {"IDS_PREPARECOPY", "Preparing to copy..."},
    {"IDS_INSTALL_ERROR", "Installation error"},
    {"IDS_ERROR_NOSOURCE", "Distribution kit file qorn.efd not found."},
    {"IDS_ERROR_NOTARGET", "Installation of templates to the current directory is not supported."},
    {"IDS_ERROR_NOSPACE", "Insufficient space available in the directory Temp."},
    {"IDS_CHOOSEDIR_FOLDER", "&Folder:"},
    {"IDS_CHOOSEDIR_TITLE", "Choose Directory"},
    {"IDR_MAINFRAME", "Installing configuration"},
    {"IDS_SETUP_EMPTYTARGET", "Specify correct path to template directory."},
    {"IDS_INSTALL_FINISH", "Copying complete..."},
    {"IDS_ERROR_DAMAGEDSOURCE", "Distribution kit file qorn.efd corrupted or not designed for this installation program."},
    {"IDS_DEFPRODUCT", "<Product>"},
    {"IDS_DEFPROVIDER", "<Vendor>"},
    {"IDS_SUCCESS_FINISH", "Configuration installed successfully."},
    {"IDS_SUCCESS_OPENDESCR", "Open description of distribution package"},
    {"IDS_PROGRESS_START", "Files being copied..."},
    {"IDS_ERROR_FINISH", "An error occurred during the installation process. Installation canceled. Template directory has not been changed."},
    {"IDS_CANCEL_FINISH", "Installation canceled. Template directory has not been changed."},
    {"IDS_BROWSE_SELDIR", "Directory selected:"},
    {"IDS_BROWSE_OK", "Select"},
    {"IDS_BROWSE_CANCEL", "Cancel"},
    {"IDS_WELCOME_TITLE", "Welcome to the product installation program"},
    {"IDS_SETUP_EXISTEDTARGET", "The installation directory contains files that may be changed during the installation process. Do you want to continue?"},
    {"IDS_DESTINATION_PROMPT", "Specify path to template directory. The installation program will install templates and configuration files to the specified directory."},
    {"IDS_TEMPLATE_CATALOG", "Template directory:"},
    {"IDS_HELP_USAGE",
     "Usage: setup [usecwd] [-S] [-L<code>] [-D<directory>] [-h]\n"
     "  usecwd               as the first argument: take qorn.efd from the working directory\n"
     "  -S, /S               silent: install at once; without a display, report on standard error\n"
     "  -L<code>, /L<code>   language: ru uk en lv lt bg de ro ka kk vi tr el es hy it (give -S before it)\n"
     "  -D<dir>, /D<dir>     install into <dir> instead of the proposed directory; ~/ is the home directory\n"
     "  -h, --help, /?       show this help\n"
     "Without usecwd the distribution kit file qorn.efd is looked for beside this program.\n"
     "Exit status:\n"
     "  0  installed, or every file was already up to date\n"
     "  1  unexpected end\n"
     "  2  could not start: no kit, damaged kit, no space, no display without -S, bad option value\n"
     "  3  the installation failed and was rolled back\n"
     "  4  cancelled, or stopped by a signal, and rolled back\n"
     "  5  the rollback could not put everything back: files kept in the backup"},
    {"IDS_ERROR_NODISPLAY", "Cannot open the display. Start with -S to install without a window."},
    {"IDS_ERROR_TARGETOPTION", "The -D option needs a directory right after the letter, such as -D~/templates, in the encoding of the current locale."},
    {"IDS_SUMMARY_WRITTEN", "Files written:"},
    {"IDS_SUMMARY_UPTODATE", "Files already up to date:"},
    {"IDS_SUMMARY_REPLACED", "Files replaced (their originals were kept in a backup until the end of the installation):"},
    {"IDS_LAUNCHER_NOTRECORDED", "The template directory was not recorded: the launcher's settings file could not be read or written and has been left unchanged:"},
    {"IDS_ERROR_TEMPDIR", "Cannot write to the directory Temp (TMPDIR). Set TMPDIR to a writable directory and start the installation program again."},
    {"IDS_ERROR_NOSPACE_TARGET", "Insufficient space available in the template directory. Template directory has not been changed."},
    {"IDS_RECOVERED_INSTALL", "An interrupted installation was found and undone. This template directory is as it was before it:"},
    {"IDS_BACKUP_KEPT", "Not every original file could be put back. The originals that remain are kept in this folder:"},
    {"IDS_TERMINAL_CONTINUE", "Press Enter to continue, or Ctrl+C to quit"},
    {"IDS_TERMINAL_BADPATH", "The typed path cannot be read in the encoding of the current locale. Type it again."},
    {"IDS_HELP_TERMINAL", "With -T or /T the questions are asked in this terminal even when a display can be opened; without a display they are asked there whenever standard input and standard error are terminals."},
    {"IDS_DIRECTORY_BUSY", "Another installation into this template directory is running. Wait until it has ended, then start the installation program again."},
    {"IDS_JOURNAL_SET_ASIDE", "The record of an interrupted installation could not be used: it is damaged or no longer matches its template directory. Nothing was changed with it; it was set aside here:"},
    {"IDS_RECOVERED_PARTLY", "An interrupted installation was found and undone wherever its files were still as it had left them; files changed since then were left as they are. Template directory:"},
    {"IDS_ERROR_JOURNALDIR", "This journal folder could not be used (set XDG_STATE_HOME to a writable folder and start the installation program again):"},
    {"IDS_JOURNAL_WAITING", "An interrupted installation waits for its template directory, which is not where it was (moved, renamed or not mounted). Nothing was changed; the first start that finds the directory there again finishes the undo. To finish it by hand instead, move the original files from the backup folder back into the directory, then delete the record. Template directory:"},
    {"IDS_JOURNAL_KEPT", "Its record is kept here:"},
    {"IDS_ORIGINALS_IN", "Its original files are in this backup folder:"},
    {"IDS_JOURNAL_UNREADABLE", "The record of an interrupted installation could not be read. Nothing was changed with it; it is kept here for a later start:"},
    {"IDS_ROLLBACK_UNFINISHED", "Not everything the installation changed could be undone. Its record is kept, and the next start of the installation program tries again. Template directory:"},
    {"IDS_FILE_APPEARED", "A file appeared where the installation was about to create one. It was left as it is and the installation was undone; start the installation again to take that file into account:"},
    {"IDS_HELP_JOURNALWAITING", "  8  an interrupted installation waits for its template directory to come back (moved, renamed or not mounted); nothing was installed"},
    {"IDS_DIRECTORY_NESTED_BUSY", "Another installation is running in a folder inside this template directory, or in a directory that holds it. Wait until it has ended, then start the installation program again."},
    {"IDS_ERROR_FILESIZE_LIMIT", "The installation package could not be unpacked: the file size limit of this session (ulimit -f) is smaller than the unpacked package. Raise the limit and start the installation program again."},
    {"IDS_RECORD_SET_ASIDE", "The record of the files installed earlier could not be read or failed its checks. It is not used and removes nothing; it was set aside here:"},
    {"IDS_RECORD_DAMAGED", "The record of the files installed earlier could not be read or failed its checks, and is not used:"},
    {"IDS_NO_RECORD", "This template directory holds no record of an installation of this kit. Nothing has been changed. Template directory:"},
    {"IDS_UNINSTALL_FINISH", "Removal complete..."},
    {"IDS_UNINSTALL_SUCCESS", "Configuration removed successfully."},
    {"IDS_UNINSTALL_CONFIRM", "Remove the kit's files from this template directory? Files you have changed are kept. Template directory:"},
    {"IDS_SUMMARY_KEPT_EDIT", "You had changed this file; your version was kept as:"},
    {"IDS_SUMMARY_KEPT_IN_PLACE", "You had changed this file, which the kit no longer contains; it was kept:"},
    {"IDS_SUMMARY_REMOVED", "Files removed:"},
    {"IDS_DRYRUN_DONE", "Dry run: nothing has been changed. Template directory:"},
    {"IDS_VERIFY_SAME", "Every installed file matches the record. Template directory:"},
    {"IDS_VERIFY_DIFFERENT", "Files that differ from the record:"},
    {"IDS_HELP_RECORD",
     "Record, removal and checks (the record is kept in .qorn-record in the template directory):\n"
     "  -N, --dry-run, /N    show what an installation would do and change nothing; one line per file on standard output\n"
     "  -V, --verify, /V     compare the installed files with the kit's record; one line per difference on standard output\n"
     "  -U, --uninstall, /U  remove the kit's files that are still as installed; files you have changed are kept\n"
     "Exit status:\n"
     "  6  --verify found differences\n"
     "  7  the directory holds no record of this kit (--verify, --uninstall); nothing was changed"},
    {"IDS_HELP_JSON", "With --json the run ends by printing one JSON document that describes it on standard output (status, template directory, files); everything else goes to standard error. Meant for -S, --dry-run, --verify and --uninstall."},
    {"IDS_HELP_PROGRESSLINES", "With --progress-lines the progress is written as a new line at every tenth of the way instead of one line redrawn in place, so that a screen reader or a braille display can follow it; this is also done when TERM is dumb."},
    {"IDS_UNINSTALL_WELCOME", "Welcome to the product removal program"},
    {"IDS_ERROR_TARGET_NOTFOLDER", "A file stands where the template directory or one of the folders above it should be. Template directory:"},
    {"IDS_ERROR_TARGET_READONLY", "The template directory cannot be written to (no permission, or a read-only file system). Template directory:"},
    {"IDS_ERROR_KIT_UNREADABLE", "Distribution kit file qorn.efd cannot be read: this user has no permission to read it."},
    {"IDS_INTERRUPTED_RUN_PENDING", "An interrupted installation of this template directory has not been undone yet. Start the installation program without -N or -V to undo it, then check again. Template directory:"},
    {"IDS_FILE_CHANGED", "A file changed while the installation was about to replace it. It was left as it is and the installation was undone; start the installation again to take that file into account:"},
    {"IDS_RECORD_NOT_FOLDER", "The record of the files installed in this template directory cannot be read or kept: where its folder should be stands a symbolic link or a file, not a folder of the installation program's own. Nothing has been changed and that obstacle was left as it is; move it elsewhere, or put the record's own folder back in its place, then start the installation program again:"},
};
static_assert(std::size(kTexts) == kMessageCount);

}  // namespace

constinit const LanguageMessages kEnglishMessages{3, "en", kTexts};
