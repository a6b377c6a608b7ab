// Greek texts of the installer's messages, in the common identifier order.
#include "l10n/MessageList.h"

namespace {

constexpr MessageText kTexts[] = {
    {"IDS_WIZARD_BACK", "< Πίσω"},
    {"IDS_WIZARD_NEXT", "Συνέχεια >"},
    {"IDS_WIZARD_FINISH", "Έτοιμο"},
    {"IDS_WIZARD_CANCEL", "Ακύρωση"},
    {"IDS_ACCEPT_CANCEL", "Είστε βέβαιοι ότι θέλετε να ακυρώσετε την εγκατάσταση?"},
    {"IDS_TITLE_INSTALLER", "Εγκατάσταση διαμόρφωσης"},
    {"IDS_PREPARECOPY", "Προετοιμασία για αντιγραφή..."},
    {"IDS_INSTALL_ERROR", "Σφάλμα κατά την εγκατάσταση"},
    {"IDS_ERROR_NOSOURCE", "Το αρχείο πακέτου εγκατάστασης qorn.efd δεν βρέθηκε."},
    {"IDS_ERROR_NOTARGET", "Η εγκατάσταση στον τρέχοντα κατάλογο προτύπων δεν υποστηρίζεται."},
    {"IDS_ERROR_NOSPACE", "Έλλειψη χώρου στο κατάλογο Temp."},
    {"IDS_CHOOSEDIR_FOLDER", "&Φάκελος:"},
    {"IDS_CHOOSEDIR_TITLE", "Επιλογή καταλόγου"},
    {"IDR_MAINFRAME", "Εγκατάσταση διαμόρφωσης"},
    {"IDS_SETUP_EMPTYTARGET", "Καθορίστε την έγκυρη διαδρομή στον κατάλογο προτύπων."},
    {"IDS_INSTALL_FINISH", "Ολοκλήρωση αντιγραφής..."},
    {"IDS_ERROR_DAMAGEDSOURCE", "Το αρχείο πακέτου εγκατάσταση qorn.efd έχει καταστραφεί ή δεν προορίζεται για αυτό το πρόγραμμα εγκατάστασης."},
    {"IDS_DEFPRODUCT", "<Προϊόν>"},
    {"IDS_DEFPROVIDER", "<Προμηθευτής>"},
    {"IDS_SUCCESS_FINISH", "Η διαμόρφωση έχει εγκατασταθεί με επιτυχία."},
    {"IDS_SUCCESS_OPENDESCR", "Άνοιγμα περιγραφής της παράδοσης"},
    {"IDS_PROGRESS_START", "Η αντιγραφή αρχείων βρίσκεται σε\u00A0εξέλιξη..."},  // no-break space before the last word
    {"IDS_ERROR_FINISH", "Κατά την διαδικασία εγκατάστασης παρουσιάστηκε σφάλμα. Η εγκατάσταση διακόπηκε. Ο Κατάλογος των τύπων δεν έχει αλλάξει."},
    {"IDS_CANCEL_FINISH", "Η εγκατάσταση ακυρώθηκε Ο Κατάλογος των τύπων δεν έχει αλλάξει."},
    {"IDS_BROWSE_SELDIR", "Επιλεγμένος κατάλογος:"},
    {"IDS_BROWSE_OK", "Επιλογή"},
    {"IDS_BROWSE_CANCEL", "Ακύρωση"},
    {"IDS_WELCOME_TITLE", "Καλώς ορίσατε στο πρόγραμμα εγκατάστασης προϊόντος"},
    {"IDS_SETUP_EXISTEDTARGET", "Ο κατάλογος εγκατάστασης περιέχει τα αρχεία που μπορούν να τροποποιηθούν κατά τη διάρκεια της διαδικασίας εγκατάστασης. Θέλετε να συνεχίσετε την εγκατάσταση;"},
    {"IDS_DESTINATION_PROMPT", "Καθορίστε την διαδρομή στον κατάλογο των προτύπων. Το πρόγραμμα εγκατάστασης θα εγκαταστήσει τους τύπους και τα αρχεία διαμόρφωσης στον καθορισμένο κατάλογο."},
    {"IDS_TEMPLATE_CATALOG", "Κατάλογος των τύπων:"},
};
static_assert(std::size(kTexts) == kMessageCount);

}  // namespace

constinit const LanguageMessages kGreekMessages{13, "el", kTexts};
