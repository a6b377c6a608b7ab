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
};
static_assert(std::size(kTexts) == kMessageCount);

}  // namespace

constinit const LanguageMessages kItalianMessages{16, "it", kTexts};
