// Turkish texts of the installer's messages, in the common identifier order.
#include "l10n/MessageList.h"

namespace {

constexpr MessageText kTexts[] = {
    {"IDS_WIZARD_BACK", "< Geri"},
    {"IDS_WIZARD_NEXT", "İleri >"},
    {"IDS_WIZARD_FINISH", "Tamam"},
    {"IDS_WIZARD_CANCEL", "İptal"},
    {"IDS_ACCEPT_CANCEL", "Yüklemeyi iptal etmek istediğinizden emin misiniz?"},
    {"IDS_TITLE_INSTALLER", "Konfigürasyon yüklenmesi"},
    {"IDS_PREPARECOPY", "Kopyalamak için hazırlık..."},
    {"IDS_INSTALL_ERROR", "Yükleme sırasında hata oluştu"},
    {"IDS_ERROR_NOSOURCE", "qorn.efd yükleme takımının dosyası bulunmadı."},
    {"IDS_ERROR_NOTARGET", "Cari şablon klasörüne yükleme desteklenmiyor."},
    {"IDS_ERROR_NOSPACE", "Temp klasöründa HD yeri yeterince değil."},
    {"IDS_CHOOSEDIR_FOLDER", "&Klasör:"},
    {"IDS_CHOOSEDIR_TITLE", "Kunum seç"},
    {"IDR_MAINFRAME", "Konfigürasyon yüklenmesi"},
    {"IDS_SETUP_EMPTYTARGET", "Şablon klasörüne geçerli yolu belirleyin."},
    {"IDS_INSTALL_FINISH", "Kopyalama sonlandırılması..."},
    {"IDS_ERROR_DAMAGEDSOURCE", "qorn.efd yükleme takımının dosyası bozuk veya bu yükleme programı için uygun değil."},
    {"IDS_DEFPRODUCT", "<Ürün>"},
    {"IDS_DEFPROVIDER", "<Tedarikçi>"},
    {"IDS_SUCCESS_FINISH", "Konfigürasyon başarılı yüklendi."},
    {"IDS_SUCCESS_OPENDESCR", "Dağıtım açıklamasını aç"},
    {"IDS_PROGRESS_START", "Dosya kopyalaması gerçekleşiyor..."},
    {"IDS_ERROR_FINISH", "Yükleme sırasında hata oluştu. Yükleme kesildi. Şablon klasörü değiştirilmedi."},
    {"IDS_CANCEL_FINISH", "Yükleme iptal edildi. Şablonu klasörü değiştirilmedi."},
    {"IDS_BROWSE_SELDIR", "Seçilen klasör:"},
    {"IDS_BROWSE_OK", "Seç"},
    {"IDS_BROWSE_CANCEL", "İptal"},
    {"IDS_WELCOME_TITLE", "Ürün yükleme programına hoş geldiniz"},
    {"IDS_SETUP_EXISTEDTARGET", "Yükleme klasörü yükleme sırasında değiştirilebilecek dosyalar içeriyor. Yüklemeyi devam etmek ister misiniz?"},
    {"IDS_DESTINATION_PROMPT", "Şablon klasörüne yolu belirtin. Yükleme programı şablonları ve konfigürasyon dosyalarını belirtilen klasöre yükleyecek."},
    {"IDS_TEMPLATE_CATALOG", "Şablon klasörü:"},
};
static_assert(std::size(kTexts) == kMessageCount);

}  // namespace

constinit const LanguageMessages kTurkishMessages{12, "tr", kTexts};
