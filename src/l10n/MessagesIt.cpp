// Italian texts of the installer's messages, in the common identifier order.
#include "l10n/MessageList.h"

namespace {

constexpr MessageText kTexts[] = {
    {"IDS_WIZARD_BACK", "< Indietro"},
    {"IDS_WIZARD_NEXT", "Avanti>"},
    {"IDS_WIZARD_FINISH", "Pronto"},
    {"IDS_WIZARD_CANCEL", "Annulla"},
    {"IDS_ACCEPT_CANCEL", "Sei sicuro di voler annullare l'installazione?"},
    {"IDS_TITLE_INSTALLER", "Installa configurazione"},
    {"IDS_PREPARECOPY", "Iniziare il processo di copia..."},
    {"IDS_INSTALL_ERROR", "Errore durante il processo di installazione"},
    {"IDS_ERROR_NOSOURCE", "Il file di installazione qorn.efd non è stato trovato."},
    {"IDS_ERROR_NOTARGET", "Impostazione nella directory di modelli corrente non viene supportata."},
    {"IDS_ERROR_NOSPACE", "Lo spazio sul directory Temp è esaurito."},
    {"IDS_CHOOSEDIR_FOLDER", "&Cartella:"},
    {"IDS_CHOOSEDIR_TITLE", "Seleziona la directory"},
    {"IDR_MAINFRAME", "Installa configurazione"},
    {"IDS_SETUP_EMPTYTARGET", "Specifica il percorso corretto per la directory di modelli."},
    {"IDS_INSTALL_FINISH", "Completare il processo di copia..."},
    {"IDS_ERROR_DAMAGEDSOURCE", "Il file di installazione qorn.efd è stato danneggiato e non è adatto per questo programma di installazione."},
    {"IDS_DEFPRODUCT", "<Prodotto>"},
    {"IDS_DEFPROVIDER", "<Provider>"},
    {"IDS_SUCCESS_FINISH", "L'installazione della configurazione è stata completata con successo."},
    {"IDS_SUCCESS_OPENDESCR", "Apri la descrizione di fornitura"},
    {"IDS_PROGRESS_START", "Il processo di copiatura dei file è in corso..."},
    {"IDS_ERROR_FINISH", "Durante il processo di impostazione si è verificato un errore. Installazione interrotta. La directory di modelli non è cambiata."},
    {"IDS_CANCEL_FINISH", "Installazione annulata La directory di modelli non è cambiata."},
    {"IDS_BROWSE_SELDIR", "Directory selezionata:"},
    {"IDS_BROWSE_OK", "Seleziona"},
    {"IDS_BROWSE_CANCEL", "Annulla"},
    {"IDS_WELCOME_TITLE", "Benvenuti nel programma di installazione del prodotto"},
    {"IDS_SETUP_EXISTEDTARGET", "La directory di installazione contiene i file che possono essere cambiati nel processo di installazione Continuare con l'installazione?"},
    {"IDS_DESTINATION_PROMPT", "Specificare il percorso alla directory di modelli Il programma di installazione installerà i modelli e i file di configurazione nella directory specificata."},
    {"IDS_TEMPLATE_CATALOG", "Directory di modelli:"},
    {"IDS_HELP_USAGE",
     "Uso: setup [usecwd] [-S] [-L<codice>] [-D<directory>] [-h]\n"
     "  usecwd               come primo argomento: prendere qorn.efd dalla directory di lavoro\n"
     "  -S, /S               modalità silenziosa: installare subito; senza display i messaggi vanno sullo standard error\n"
     "  -L<codice>, /L<codice>  lingua: ru uk en lv lt bg de ro ka kk vi tr el es hy it (-S va indicato prima)\n"
     "  -D<dir>, /D<dir>     installare in <dir> invece che nella directory proposta; ~/ è la directory home\n"
     "  -h, --help, /?       mostrare questo aiuto\n"
     "Senza usecwd il file di installazione qorn.efd viene cercato accanto a questo programma.\n"
     "Stato di uscita:\n"
     "  0  installato, oppure tutti i file erano già aggiornati\n"
     "  1  fine inattesa\n"
     "  2  impossibile iniziare: manca il file di installazione, file danneggiato, spazio insufficiente, nessun display senza -S, valore di opzione errato\n"
     "  3  l'installazione non è riuscita, modifiche annullate\n"
     "  4  annullato o fermato da un segnale, modifiche annullate\n"
     "  5  l'annullamento non ha potuto ripristinare tutto: file conservati nella copia di backup"},
    {"IDS_ERROR_NODISPLAY", "Impossibile aprire il display. Avviare con -S per installare senza finestra."},
    {"IDS_ERROR_TARGETOPTION", "L'opzione -D deve essere seguita direttamente da una directory, ad esempio -D~/templates, nella codifica della locale corrente."},
    {"IDS_SUMMARY_WRITTEN", "File scritti:"},
    {"IDS_SUMMARY_UPTODATE", "File già aggiornati:"},
    {"IDS_SUMMARY_REPLACED", "File sostituiti (gli originali sono stati conservati in una copia di backup fino al termine dell'installazione):"},
    {"IDS_LAUNCHER_NOTRECORDED", "La directory di modelli non è stata registrata: il file delle impostazioni del programma di avvio non ha potuto essere letto o scritto ed è rimasto invariato:"},
    {"IDS_ERROR_TEMPDIR", "Impossibile scrivere nella directory Temp (TMPDIR). Impostare in TMPDIR una directory scrivibile e avviare di nuovo il programma di installazione."},
    {"IDS_ERROR_NOSPACE_TARGET", "Spazio insufficiente nella directory di modelli. La directory di modelli non è cambiata."},
    {"IDS_RECOVERED_INSTALL", "È stata trovata un'installazione interrotta ed è stata annullata. Questa directory di modelli è tornata com'era prima:"},
    {"IDS_BACKUP_KEPT", "Non è stato possibile rimettere al loro posto tutti i file originali. Gli originali rimasti sono conservati in questa cartella:"},
    {"IDS_TERMINAL_CONTINUE", "Premere Invio per continuare o Ctrl+C per uscire"},
    {"IDS_TERMINAL_BADPATH", "Il percorso digitato non può essere letto nella codifica della locale corrente. Digitarlo di nuovo."},
    {"IDS_HELP_TERMINAL", "Con -T o /T le domande vengono poste in questo terminale anche quando il display può essere aperto; senza display, ogni volta che lo standard input e lo standard error sono terminali."},
    {"IDS_DIRECTORY_BUSY", "Un'altra installazione in questa cartella dei modelli è in corso. Attendere che termini, quindi avviare di nuovo il programma di installazione."},
    {"IDS_JOURNAL_SET_ASIDE", "Non è stato possibile usare la registrazione di un'installazione interrotta: è danneggiata o non corrisponde più alla sua cartella dei modelli. Non è stato cambiato nulla in base a essa; è stata messa da parte qui:"},
    {"IDS_RECOVERED_PARTLY", "È stata trovata un'installazione interrotta ed è stata annullata ovunque i suoi file fossero ancora come li aveva lasciati; i file modificati da allora sono rimasti come sono. Cartella dei modelli:"},
    {"IDS_ERROR_JOURNALDIR", "Non è stato possibile usare questa cartella per il registro dell'installazione (impostare in XDG_STATE_HOME una cartella scrivibile e avviare di nuovo il programma di installazione):"},
    {"IDS_JOURNAL_WAITING", "Un'installazione interrotta attende la sua cartella dei modelli, che non è più dove era (spostata, rinominata o non montata). Non è stato cambiato nulla; il primo avvio che ritrova lì la cartella completa l'annullamento. Per completarlo a mano, spostare i file originali dalla cartella di backup di nuovo nella cartella dei modelli, poi eliminare la registrazione. Cartella dei modelli:"},
    {"IDS_JOURNAL_KEPT", "La sua registrazione è conservata qui:"},
    {"IDS_ORIGINALS_IN", "I suoi file originali sono in questa cartella di backup:"},
    {"IDS_JOURNAL_UNREADABLE", "Non è stato possibile leggere la registrazione di un'installazione interrotta. Non è stato cambiato nulla in base a essa; è conservata qui per un avvio successivo:"},
    {"IDS_ROLLBACK_UNFINISHED", "Non è stato possibile annullare tutto ciò che l'installazione ha cambiato. La sua registrazione è conservata e il prossimo avvio del programma di installazione riproverà. Cartella dei modelli:"},
    {"IDS_FILE_APPEARED", "È comparso un file dove l'installazione stava per crearne uno. È stato lasciato com'è e l'installazione è stata annullata; avviare di nuovo l'installazione per tenere conto di quel file:"},
    {"IDS_HELP_JOURNALWAITING", "  8  un'installazione interrotta attende che torni la sua cartella dei modelli (spostata, rinominata o non montata); non è stato installato nulla"},
    {"IDS_DIRECTORY_NESTED_BUSY", "Un'altra installazione è in corso in una cartella dentro questa cartella dei modelli o in una cartella che la contiene. Attendere che termini, quindi avviare di nuovo il programma di installazione."},
    {"IDS_ERROR_FILESIZE_LIMIT", "Impossibile decomprimere il pacchetto di installazione: il limite di dimensione dei file di questa sessione (ulimit -f) è inferiore al pacchetto decompresso. Aumentare il limite e avviare di nuovo il programma di installazione."},
    {"IDS_RECORD_SET_ASIDE", "La registrazione dei file installati in precedenza non è leggibile o non ha superato i controlli. Non viene usata e non rimuove nulla; è stata messa da parte qui:"},
    {"IDS_RECORD_DAMAGED", "La registrazione dei file installati in precedenza non è leggibile o non ha superato i controlli, e non viene usata:"},
    {"IDS_NO_RECORD", "Questa directory di modelli non contiene alcuna registrazione di un'installazione di questo pacchetto. Non è stato modificato nulla. Directory di modelli:"},
    {"IDS_UNINSTALL_FINISH", "Rimozione completata..."},
    {"IDS_UNINSTALL_SUCCESS", "La configurazione è stata rimossa con successo."},
    {"IDS_UNINSTALL_CONFIRM", "Rimuovere i file del pacchetto da questa directory di modelli? I file che avete modificato vengono conservati. Directory di modelli:"},
    {"IDS_SUMMARY_KEPT_EDIT", "Avevate modificato questo file; la vostra versione è stata conservata come:"},
    {"IDS_SUMMARY_KEPT_IN_PLACE", "Avevate modificato questo file, che il pacchetto non contiene più; è stato conservato:"},
    {"IDS_SUMMARY_REMOVED", "File rimossi:"},
    {"IDS_DRYRUN_DONE", "Prova a vuoto: non è stato modificato nulla. Directory di modelli:"},
    {"IDS_VERIFY_SAME", "Tutti i file installati corrispondono alla registrazione. Directory di modelli:"},
    {"IDS_VERIFY_DIFFERENT", "File che differiscono dalla registrazione:"},
    {"IDS_HELP_RECORD",
     "Registrazione, rimozione e verifica (la registrazione è conservata in .qorn-record nella directory di modelli):\n"
     "  -N, --dry-run, /N    mostra cosa farebbe un'installazione senza modificare nulla; una riga per file sull'output standard\n"
     "  -V, --verify, /V     confronta i file installati con la registrazione del pacchetto; una riga per differenza sull'output standard\n"
     "  -U, --uninstall, /U  rimuove i file del pacchetto ancora come installati; i file che avete modificato vengono conservati\n"
     "Stato di uscita:\n"
     "  6  --verify ha trovato differenze\n"
     "  7  la directory non contiene alcuna registrazione di questo pacchetto (--verify, --uninstall); non è stato modificato nulla"},
    {"IDS_HELP_JSON", "Con --json, al termine l'esecuzione stampa sullo standard output un solo documento JSON che la descrive (stato, directory dei modelli, file); tutto il resto va sullo standard error. Pensato per -S, --dry-run, --verify e --uninstall."},
    {"IDS_HELP_PROGRESSLINES", "Con --progress-lines l'avanzamento viene scritto come una nuova riga a ogni decimo del percorso invece che come un'unica riga ridisegnata sul posto, così che un lettore di schermo o un display braille possano seguirlo; lo stesso avviene quando TERM è dumb."},
    {"IDS_UNINSTALL_WELCOME", "Benvenuti nel programma di disinstallazione del prodotto"},
    {"IDS_ERROR_TARGET_NOTFOLDER", "Al posto della directory di modelli o di una delle cartelle che la contengono c'è un file. Directory di modelli:"},
    {"IDS_ERROR_TARGET_READONLY", "Impossibile scrivere nella directory di modelli (permesso negato o file system di sola lettura). Directory di modelli:"},
    {"IDS_ERROR_KIT_UNREADABLE", "Impossibile leggere il file di installazione qorn.efd: questo utente non ha il permesso di leggerlo."},
    {"IDS_INTERRUPTED_RUN_PENDING", "Un'installazione interrotta in questa directory di modelli non è ancora stata annullata. Avviare il programma di installazione senza -N né -V per annullarla, quindi verificare di nuovo. Directory di modelli:"},
    {"IDS_FILE_CHANGED", "Un file è cambiato mentre l'installazione stava per sostituirlo. È stato lasciato com'è e l'installazione è stata annullata; avviare di nuovo l'installazione per tenere conto di quel file:"},
    {"IDS_RECORD_NOT_FOLDER", "La registrazione dei file installati in questa directory di modelli non può essere letta né tenuta: al posto della sua cartella c'è un collegamento simbolico o un file, non una cartella propria del programma di installazione. Non è stato modificato nulla e quell'ostacolo è stato lasciato com'è; spostarlo altrove oppure rimettere al suo posto la cartella propria della registrazione, quindi avviare di nuovo il programma di installazione:"},
};
static_assert(std::size(kTexts) == kMessageCount);

}  // namespace

constinit const LanguageMessages kItalianMessages{16, "it", kTexts};
