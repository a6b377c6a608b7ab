// German texts of the installer's messages, in the common identifier order.
#include "l10n/MessageList.h"

namespace {

constexpr MessageText kTexts[] = {
    {"IDS_WIZARD_BACK", "< Zurück"},
    {"IDS_WIZARD_NEXT", "Weiter >"},
    {"IDS_WIZARD_FINISH", "Fertig"},
    {"IDS_WIZARD_CANCEL", "Abbrechen"},
    {"IDS_ACCEPT_CANCEL", "Soll die Installation wirklich abgebrochen werden?"},
    {"IDS_TITLE_INSTALLER", "Konfiguration wird installiert"},
    {"IDS_PREPARECOPY", "Kopieren wird vorbereitet..."},
    {"IDS_INSTALL_ERROR", "Installationsfehler"},
    {"IDS_ERROR_NOSOURCE", "Installationsdatei qorn.efd wurde nicht gefunden."},
    {"IDS_ERROR_NOTARGET", "Installation von Vorlagen in das aktuelle Verzeichnis wird nicht unterstützt."},
    {"IDS_ERROR_NOSPACE", "Nicht genügend Speicherplatz im Verzeichnis Temp."},
    {"IDS_CHOOSEDIR_FOLDER", "&Ordner:"},
    {"IDS_CHOOSEDIR_TITLE", "Verzeichnis auswählen"},
    {"IDR_MAINFRAME", "Konfiguration wird installiert"},
    {"IDS_SETUP_EMPTYTARGET", "Geben Sie den richtigen Pfad zum Vorlagenverzeichnis an."},
    {"IDS_INSTALL_FINISH", "Kopieren fertig gestellt..."},
    {"IDS_ERROR_DAMAGEDSOURCE", "Die Installationsdatei qorn.efd ist beschädigt oder für dieses Installationsprogramm nicht vorgesehen."},
    {"IDS_DEFPRODUCT", "<Produkt>"},
    {"IDS_DEFPROVIDER", "<Lieferant>"},
    {"IDS_SUCCESS_FINISH", "Konfiguration erfolgreich installiert."},
    {"IDS_SUCCESS_OPENDESCR", "Beschreibung des Verteilungskits öffnen"},
    {"IDS_PROGRESS_START", "Dateien werden kopiert..."},
    {"IDS_ERROR_FINISH", "Während der Installation ist ein Fehler aufgetreten. Installation beendet. Vorlagenverzeichnis wurde nicht geändert."},
    {"IDS_CANCEL_FINISH", "Installation abgebrochen. Vorlagenverzeichnis wurde nicht geändert."},
    {"IDS_BROWSE_SELDIR", "Verzeichnis ausgewählt:"},
    {"IDS_BROWSE_OK", "Auswählen"},
    {"IDS_BROWSE_CANCEL", "Abbrechen"},
    {"IDS_WELCOME_TITLE", "Willkommen beim Installationsprogramm des Produkts"},
    {"IDS_SETUP_EXISTEDTARGET", "Das Installationsverzeichnis enthält Dateien, die während des Installationsprozesses möglicherweise geändert werden. Möchten Sie fortfahren?"},
    {"IDS_DESTINATION_PROMPT", "Geben Sie den Pfad zum Vorlagenverzeichnis an. Das Installationsprogramm installiert Vorlagen und Konfigurationsdateien in das angegebene Verzeichnis."},
    {"IDS_TEMPLATE_CATALOG", "Vorlagenverzeichnis:"},
    {"IDS_HELP_USAGE",
     "Aufruf: setup [usecwd] [-S] [-L<Code>] [-D<Verzeichnis>] [-h]\n"
     "  usecwd               als erstes Argument: qorn.efd aus dem Arbeitsverzeichnis nehmen\n"
     "  -S, /S               still: sofort installieren; ohne Display gehen Meldungen auf die Standardfehlerausgabe\n"
     "  -L<Code>, /L<Code>   Sprache: ru uk en lv lt bg de ro ka kk vi tr el es hy it (-S muss davor stehen)\n"
     "  -D<Verz>, /D<Verz>   in <Verz> statt in das vorgeschlagene Verzeichnis installieren; ~/ ist das Home-Verzeichnis\n"
     "  -h, --help, /?       diese Hilfe anzeigen\n"
     "Ohne usecwd wird die Installationsdatei qorn.efd neben diesem Programm gesucht.\n"
     "Exit-Status:\n"
     "  0  installiert, oder alle Dateien waren schon aktuell\n"
     "  1  unerwartetes Ende\n"
     "  2  Start nicht möglich: keine Installationsdatei, Datei beschädigt, kein Platz, kein Display ohne -S, ungültiger Optionswert\n"
     "  3  Installation fehlgeschlagen, Änderungen zurückgenommen\n"
     "  4  abgebrochen oder durch ein Signal beendet, Änderungen zurückgenommen\n"
     "  5  die Rücknahme konnte nicht alles wiederherstellen: Dateien in der Sicherung aufbewahrt"},
    {"IDS_ERROR_NODISPLAY", "Das Display kann nicht geöffnet werden. Starten Sie mit -S, um ohne Fenster zu installieren."},
    {"IDS_ERROR_TARGETOPTION", "Auf die Option -D muss direkt ein Verzeichnis folgen, etwa -D~/templates, in der Zeichenkodierung der aktuellen Locale."},
    {"IDS_SUMMARY_WRITTEN", "Geschriebene Dateien:"},
    {"IDS_SUMMARY_UPTODATE", "Bereits aktuelle Dateien:"},
    {"IDS_SUMMARY_REPLACED", "Ersetzte Dateien (die Originale lagen bis zum Ende der Installation in einer Sicherung):"},
    {"IDS_LAUNCHER_NOTRECORDED", "Das Vorlagenverzeichnis wurde nicht eingetragen: Die Einstellungsdatei des Startprogramms konnte nicht gelesen oder geschrieben werden und bleibt unverändert:"},
    {"IDS_ERROR_TEMPDIR", "Das Verzeichnis Temp (TMPDIR) ist nicht beschreibbar. Setzen Sie TMPDIR auf ein beschreibbares Verzeichnis und starten Sie das Installationsprogramm erneut."},
    {"IDS_ERROR_NOSPACE_TARGET", "Im Vorlagenverzeichnis ist nicht genügend Speicherplatz verfügbar. Vorlagenverzeichnis wurde nicht geändert."},
    {"IDS_RECOVERED_INSTALL", "Eine unterbrochene Installation wurde gefunden und rückgängig gemacht. Dieses Vorlagenverzeichnis ist wieder so wie vor ihr:"},
    {"IDS_BACKUP_KEPT", "Nicht alle ursprünglichen Dateien konnten zurückgelegt werden. Die übrigen Originale werden in diesem Ordner aufbewahrt:"},
    {"IDS_TERMINAL_CONTINUE", "Drücken Sie die Eingabetaste, um fortzufahren, oder Strg+C, um abzubrechen"},
    {"IDS_TERMINAL_BADPATH", "Der eingegebene Pfad lässt sich in der Zeichenkodierung der aktuellen Locale nicht lesen. Geben Sie ihn erneut ein."},
    {"IDS_HELP_TERMINAL", "Mit -T oder /T werden die Fragen in diesem Terminal gestellt, auch wenn sich ein Display öffnen lässt; ohne Display immer dann, wenn Standardeingabe und Standardfehlerausgabe Terminals sind."},
    {"IDS_DIRECTORY_BUSY", "In dieses Vorlagenverzeichnis läuft bereits eine andere Installation. Warten Sie, bis sie beendet ist, und starten Sie das Installationsprogramm dann erneut."},
    {"IDS_JOURNAL_SET_ASIDE", "Die Aufzeichnung einer unterbrochenen Installation konnte nicht verwendet werden: Sie ist beschädigt oder passt nicht mehr zu ihrem Vorlagenverzeichnis. Damit wurde nichts geändert; sie wurde hier beiseitegelegt:"},
    {"IDS_RECOVERED_PARTLY", "Eine unterbrochene Installation wurde gefunden und überall dort rückgängig gemacht, wo ihre Dateien noch so waren, wie sie sie hinterlassen hatte; seither geänderte Dateien blieben, wie sie sind. Vorlagenverzeichnis:"},
    {"IDS_ERROR_JOURNALDIR", "Dieser Ordner für das Installationsprotokoll konnte nicht verwendet werden (setzen Sie XDG_STATE_HOME auf einen beschreibbaren Ordner und starten Sie das Installationsprogramm erneut):"},
    {"IDS_JOURNAL_WAITING", "Eine unterbrochene Installation wartet auf ihr Vorlagenverzeichnis, das nicht mehr dort ist, wo es war (verschoben, umbenannt oder nicht eingehängt). Nichts wurde geändert; der erste Start, der das Verzeichnis wieder dort findet, macht die Installation rückgängig. Um das selbst zu erledigen, verschieben Sie die ursprünglichen Dateien aus dem Sicherungsordner zurück in das Verzeichnis und löschen dann die Aufzeichnung. Vorlagenverzeichnis:"},
    {"IDS_JOURNAL_KEPT", "Ihre Aufzeichnung wird hier aufbewahrt:"},
    {"IDS_ORIGINALS_IN", "Ihre ursprünglichen Dateien liegen in diesem Sicherungsordner:"},
    {"IDS_JOURNAL_UNREADABLE", "Die Aufzeichnung einer unterbrochenen Installation konnte nicht gelesen werden. Damit wurde nichts geändert; sie wird hier für einen späteren Start aufbewahrt:"},
    {"IDS_ROLLBACK_UNFINISHED", "Nicht alles, was die Installation geändert hat, konnte rückgängig gemacht werden. Ihre Aufzeichnung bleibt erhalten, und der nächste Start des Installationsprogramms versucht es erneut. Vorlagenverzeichnis:"},
    {"IDS_FILE_APPEARED", "An einer Stelle, an der die Installation eine Datei anlegen wollte, ist eine Datei erschienen. Sie blieb, wie sie ist, und die Installation wurde rückgängig gemacht; starten Sie die Installation erneut, um diese Datei zu berücksichtigen:"},
    {"IDS_HELP_JOURNALWAITING", "  8  eine unterbrochene Installation wartet darauf, dass ihr Vorlagenverzeichnis zurückkommt (verschoben, umbenannt oder nicht eingehängt); nichts wurde installiert"},
    {"IDS_DIRECTORY_NESTED_BUSY", "Eine andere Installation läuft in einen Ordner innerhalb dieses Vorlagenverzeichnisses oder in ein Verzeichnis, das es enthält. Warten Sie, bis sie beendet ist, und starten Sie das Installationsprogramm dann erneut."},
    {"IDS_ERROR_FILESIZE_LIMIT", "Das Installationspaket konnte nicht entpackt werden: Die Dateigrößenbeschränkung dieser Sitzung (ulimit -f) ist kleiner als das entpackte Paket. Heben Sie die Beschränkung an und starten Sie das Installationsprogramm erneut."},
    {"IDS_RECORD_SET_ASIDE", "Die Aufzeichnung der früher installierten Dateien konnte nicht gelesen werden oder hat ihre Prüfung nicht bestanden. Sie wird nicht verwendet und entfernt nichts; sie wurde hier beiseitegelegt:"},
    {"IDS_RECORD_DAMAGED", "Die Aufzeichnung der früher installierten Dateien konnte nicht gelesen werden oder hat ihre Prüfung nicht bestanden und wird nicht verwendet:"},
    {"IDS_NO_RECORD", "Dieses Vorlagenverzeichnis enthält keine Aufzeichnung einer Installation dieses Pakets. Nichts wurde geändert. Vorlagenverzeichnis:"},
    {"IDS_UNINSTALL_FINISH", "Entfernen abgeschlossen..."},
    {"IDS_UNINSTALL_SUCCESS", "Konfiguration erfolgreich entfernt."},
    {"IDS_UNINSTALL_CONFIRM", "Die Dateien des Pakets aus diesem Vorlagenverzeichnis entfernen? Von Ihnen geänderte Dateien bleiben erhalten. Vorlagenverzeichnis:"},
    {"IDS_SUMMARY_KEPT_EDIT", "Sie hatten diese Datei geändert; Ihre Fassung wurde aufbewahrt als:"},
    {"IDS_SUMMARY_KEPT_IN_PLACE", "Sie hatten diese Datei geändert, die das Paket nicht mehr enthält; sie wurde behalten:"},
    {"IDS_SUMMARY_REMOVED", "Entfernte Dateien:"},
    {"IDS_DRYRUN_DONE", "Probelauf: nichts wurde geändert. Vorlagenverzeichnis:"},
    {"IDS_VERIFY_SAME", "Alle installierten Dateien stimmen mit der Aufzeichnung überein. Vorlagenverzeichnis:"},
    {"IDS_VERIFY_DIFFERENT", "Dateien, die von der Aufzeichnung abweichen:"},
    {"IDS_HELP_RECORD",
     "Aufzeichnung, Entfernen und Prüfen (die Aufzeichnung liegt in .qorn-record im Vorlagenverzeichnis):\n"
     "  -N, --dry-run, /N    zeigen, was eine Installation täte, ohne etwas zu ändern; eine Zeile je Datei auf der Standardausgabe\n"
     "  -V, --verify, /V     die installierten Dateien mit der Aufzeichnung des Pakets vergleichen; eine Zeile je Abweichung auf der Standardausgabe\n"
     "  -U, --uninstall, /U  die Dateien des Pakets entfernen, die noch so sind wie installiert; von Ihnen geänderte Dateien bleiben erhalten\n"
     "Exit-Status:\n"
     "  6  --verify hat Abweichungen gefunden\n"
     "  7  das Verzeichnis enthält keine Aufzeichnung dieses Pakets (--verify, --uninstall); nichts wurde geändert"},
    {"IDS_HELP_JSON", "Mit --json gibt der Lauf an seinem Ende ein JSON-Dokument, das ihn beschreibt, auf der Standardausgabe aus (Status, Vorlagenverzeichnis, Dateien); alles andere geht auf die Standardfehlerausgabe. Gedacht für -S, --dry-run, --verify und --uninstall."},
    {"IDS_HELP_PROGRESSLINES", "Mit --progress-lines wird der Fortschritt bei jedem Zehntel des Weges als neue Zeile ausgegeben statt als eine Zeile, die an Ort und Stelle neu gezeichnet wird, damit ein Bildschirmleser oder eine Braillezeile ihm folgen kann; ebenso, wenn TERM dumb ist."},
    {"IDS_UNINSTALL_WELCOME", "Willkommen beim Deinstallationsprogramm des Produkts"},
    {"IDS_ERROR_TARGET_NOTFOLDER", "An der Stelle des Vorlagenverzeichnisses oder eines der Ordner darüber steht eine Datei. Vorlagenverzeichnis:"},
    {"IDS_ERROR_TARGET_READONLY", "In das Vorlagenverzeichnis kann nicht geschrieben werden (keine Berechtigung oder ein schreibgeschütztes Dateisystem). Vorlagenverzeichnis:"},
    {"IDS_ERROR_KIT_UNREADABLE", "Die Installationsdatei qorn.efd kann nicht gelesen werden: Dieser Benutzer hat keine Leseberechtigung dafür."},
    {"IDS_INTERRUPTED_RUN_PENDING", "Eine unterbrochene Installation in dieses Vorlagenverzeichnis ist noch nicht rückgängig gemacht. Starten Sie das Installationsprogramm ohne -N und -V, um sie rückgängig zu machen, und prüfen Sie dann erneut. Vorlagenverzeichnis:"},
    {"IDS_FILE_CHANGED", "Eine Datei hat sich geändert, als die Installation sie ersetzen wollte. Sie blieb, wie sie ist, und die Installation wurde rückgängig gemacht; starten Sie die Installation erneut, um diese Datei zu berücksichtigen:"},
    {"IDS_RECORD_NOT_FOLDER", "Die Aufzeichnung der in dieses Vorlagenverzeichnis installierten Dateien kann weder gelesen noch geführt werden: An der Stelle ihres Ordners steht eine symbolische Verknüpfung oder eine Datei, kein eigener Ordner des Installationsprogramms. Nichts wurde geändert, und dieses Hindernis blieb, wie es ist; verschieben Sie es an einen anderen Ort oder stellen Sie den eigenen Ordner der Aufzeichnung wieder an seine Stelle, und starten Sie das Installationsprogramm dann erneut:"},
};
static_assert(std::size(kTexts) == kMessageCount);

}  // namespace

constinit const LanguageMessages kGermanMessages{7, "de", kTexts};
