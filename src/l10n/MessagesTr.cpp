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
    {"IDS_HELP_USAGE",
     "Kullanım: setup [usecwd] [-S] [-L<kod>] [-D<klasör>] [-h]\n"
     "  usecwd               ilk bağımsız değişken olarak: qorn.efd çalışma klasöründen alınır\n"
     "  -S, /S               sessiz kip: hemen yükle; ekran yoksa iletiler standart hata akışına yazılır\n"
     "  -L<kod>, /L<kod>     dil: ru uk en lv lt bg de ro ka kk vi tr el es hy it (-S ondan önce verilmelidir)\n"
     "  -D<klasör>, /D<klasör>  önerilen klasör yerine <klasör> içine yükle; ~/ ev klasörüdür\n"
     "  -h, --help, /?       bu yardımı göster\n"
     "usecwd olmadan yükleme takımının dosyası qorn.efd bu programın yanında aranır.\n"
     "Çıkış durumu:\n"
     "  0  yüklendi ya da tüm dosyalar zaten günceldi\n"
     "  1  beklenmeyen sonlanma\n"
     "  2  başlatılamadı: takım yok, takım bozuk, yer yok, -S olmadan ekran yok, geçersiz seçenek değeri\n"
     "  3  yükleme başarısız oldu, değişiklikler geri alındı\n"
     "  4  iptal edildi ya da bir sinyalle durduruldu, değişiklikler geri alındı\n"
     "  5  geri alma her şeyi geri getiremedi: dosyalar yedekte tutuldu"},
    {"IDS_ERROR_NODISPLAY", "Ekran açılamıyor. Pencere olmadan yüklemek için programı -S ile başlatın."},
    {"IDS_ERROR_TARGETOPTION", "-D seçeneğinin hemen ardından bir klasör gelmelidir, örneğin -D~/templates, geçerli yerel ayarın kodlamasıyla."},
    {"IDS_SUMMARY_WRITTEN", "Yazılan dosyalar:"},
    {"IDS_SUMMARY_UPTODATE", "Zaten güncel dosyalar:"},
    {"IDS_SUMMARY_REPLACED", "Değiştirilen dosyalar (asılları yükleme bitene kadar yedekte tutuldu):"},
    {"IDS_LAUNCHER_NOTRECORDED", "Şablon klasörü kaydedilmedi: başlatıcının ayar dosyası okunamadı veya yazılamadı ve değiştirilmeden bırakıldı:"},
    {"IDS_ERROR_TEMPDIR", "Temp (TMPDIR) klasörüne yazılamıyor. TMPDIR için yazılabilir bir klasör belirtin ve yükleme programını yeniden başlatın."},
    {"IDS_ERROR_NOSPACE_TARGET", "Şablon klasöründe yeterli alan yok. Şablon klasörü değiştirilmedi."},
    {"IDS_RECOVERED_INSTALL", "Yarıda kalmış bir yükleme bulundu ve geri alındı. Bu şablon klasörü yüklemeden önceki hâline döndü:"},
    {"IDS_BACKUP_KEPT", "Özgün dosyaların tümü yerine konulamadı. Kalan özgün dosyalar bu klasörde saklanıyor:"},
    {"IDS_TERMINAL_CONTINUE", "Devam etmek için Enter'a, çıkmak için Ctrl+C'ye basın"},
    {"IDS_TERMINAL_BADPATH", "Girilen yol geçerli yerel ayarın kodlamasıyla okunamıyor. Yeniden girin."},
    {"IDS_HELP_TERMINAL", "-T veya /T ile sorular, ekran açılabilse bile bu terminalde sorulur; ekran yoksa standart girdi ve standart hata akışı terminal olduğunda her zaman orada sorulur."},
    {"IDS_DIRECTORY_BUSY", "Bu şablon dizinine başka bir kurulum sürüyor. Bitmesini bekleyin, ardından kurulum programını yeniden başlatın."},
    {"IDS_JOURNAL_SET_ASIDE", "Yarıda kalmış bir kurulumun kaydı kullanılamadı: kayıt hasarlı ya da artık kendi şablon dizinine uymuyor. Bu kayda göre hiçbir şey değiştirilmedi; kayıt buraya ayrıldı:"},
    {"IDS_RECOVERED_PARTLY", "Yarıda kalmış bir kurulum bulundu ve dosyalarının onun bıraktığı gibi kaldığı her yerde geri alındı; o zamandan beri değiştirilen dosyalar olduğu gibi bırakıldı. Şablon dizini:"},
    {"IDS_ERROR_JOURNALDIR", "Yükleme günlüğünün bu klasörü kullanılamadı (XDG_STATE_HOME için yazılabilir bir klasör belirtin ve yükleme programını yeniden başlatın):"},
    {"IDS_JOURNAL_WAITING", "Yarıda kalmış bir kurulum, eskiden bulunduğu yerde olmayan (taşınmış, yeniden adlandırılmış ya da bağlanmamış) şablon dizinini bekliyor. Hiçbir şey değiştirilmedi; dizini orada yeniden bulan ilk başlatma geri almayı tamamlar. Bunu elle tamamlamak için özgün dosyaları yedek klasöründen dizine geri taşıyın, sonra kaydı silin. Şablon dizini:"},
    {"IDS_JOURNAL_KEPT", "Kaydı burada saklanıyor:"},
    {"IDS_ORIGINALS_IN", "Özgün dosyaları bu yedek klasöründe:"},
    {"IDS_JOURNAL_UNREADABLE", "Yarıda kalmış bir kurulumun kaydı okunamadı. Bu kayda göre hiçbir şey değiştirilmedi; kayıt sonraki bir başlatma için burada saklanıyor:"},
    {"IDS_ROLLBACK_UNFINISHED", "Kurulumun değiştirdiği her şey geri alınamadı. Kaydı saklanıyor ve yükleme programının bir sonraki başlatılışı yeniden deneyecek. Şablon dizini:"},
    {"IDS_FILE_APPEARED", "Kurulumun bir dosya oluşturmak üzere olduğu yerde bir dosya belirdi. Dosya olduğu gibi bırakıldı ve kurulum geri alındı; bu dosyayı hesaba katmak için kurulumu yeniden başlatın:"},
    {"IDS_HELP_JOURNALWAITING", "  8  yarıda kalmış bir kurulum şablon dizininin geri gelmesini bekliyor (taşınmış, yeniden adlandırılmış ya da bağlanmamış); hiçbir şey kurulmadı"},
    {"IDS_DIRECTORY_NESTED_BUSY", "Başka bir kurulum, bu şablon dizininin içindeki bir klasöre ya da onu içeren bir dizine sürüyor. Bitmesini bekleyin, ardından kurulum programını yeniden başlatın."},
    {"IDS_ERROR_FILESIZE_LIMIT", "Kurulum paketi açılamadı: bu oturumun dosya boyutu sınırı (ulimit -f) açılmış paketten küçük. Sınırı yükseltin ve kurulum programını yeniden başlatın."},
    {"IDS_RECORD_SET_ASIDE", "Daha önce yüklenen dosyaların kaydı okunamadı veya denetimden geçemedi. Kullanılmıyor ve hiçbir şeyi silmiyor; şuraya kenara konuldu:"},
    {"IDS_RECORD_DAMAGED", "Daha önce yüklenen dosyaların kaydı okunamadı veya denetimden geçemedi; kullanılmıyor:"},
    {"IDS_NO_RECORD", "Bu şablon klasöründe bu takımın yüklendiğine dair kayıt yok. Hiçbir şey değiştirilmedi. Şablon klasörü:"},
    {"IDS_UNINSTALL_FINISH", "Kaldırma tamamlandı..."},
    {"IDS_UNINSTALL_SUCCESS", "Konfigürasyon başarıyla kaldırıldı."},
    {"IDS_UNINSTALL_CONFIRM", "Takımın dosyaları bu şablon klasöründen kaldırılsın mı? Değiştirdiğiniz dosyalar korunur. Şablon klasörü:"},
    {"IDS_SUMMARY_KEPT_EDIT", "Bu dosyayı değiştirmiştiniz; sizin sürümünüz şu adla korundu:"},
    {"IDS_SUMMARY_KEPT_IN_PLACE", "Bu dosyayı değiştirmiştiniz ve takımda artık yok; korundu:"},
    {"IDS_SUMMARY_REMOVED", "Kaldırılan dosyalar:"},
    {"IDS_DRYRUN_DONE", "Deneme çalıştırması: hiçbir şey değiştirilmedi. Şablon klasörü:"},
    {"IDS_VERIFY_SAME", "Yüklenen tüm dosyalar kayıtla uyuşuyor. Şablon klasörü:"},
    {"IDS_VERIFY_DIFFERENT", "Kayıttan farklı olan dosyalar:"},
    {"IDS_HELP_RECORD",
     "Kayıt, kaldırma ve denetim (kayıt, şablon klasöründeki .qorn-record içinde tutulur):\n"
     "  -N, --dry-run, /N    bir yüklemenin ne yapacağını hiçbir şeyi değiştirmeden gösterir; standart çıktıya dosya başına bir satır\n"
     "  -V, --verify, /V     yüklenen dosyaları takımın kaydıyla karşılaştırır; standart çıktıya fark başına bir satır\n"
     "  -U, --uninstall, /U  takımın yüklendiği gibi duran dosyalarını kaldırır; değiştirdiğiniz dosyalar korunur\n"
     "Çıkış durumu:\n"
     "  6  --verify farklar buldu\n"
     "  7  klasörde bu takımın kaydı yok (--verify, --uninstall); hiçbir şey değiştirilmedi"},
    {"IDS_HELP_JSON", "--json ile çalışma sona erdiğinde standart çıktıya onu anlatan tek bir JSON belgesi yazılır (durum, şablon dizini, dosyalar); geri kalan her şey standart hata akışına gider. -S, --dry-run, --verify ve --uninstall için tasarlanmıştır."},
    {"IDS_HELP_PROGRESSLINES", "--progress-lines ile ilerleme, yerinde yeniden çizilen tek bir satır yerine yolun her onda birinde yeni bir satır olarak yazılır; böylece bir ekran okuyucu veya Braille ekranı onu izleyebilir; TERM dumb olduğunda da böyle yapılır."},
    {"IDS_UNINSTALL_WELCOME", "Ürün kaldırma programına hoş geldiniz"},
    {"IDS_ERROR_TARGET_NOTFOLDER", "Şablon klasörünün ya da üstündeki klasörlerden birinin yerinde bir dosya var. Şablon klasörü:"},
    {"IDS_ERROR_TARGET_READONLY", "Şablon klasörüne yazılamıyor (izin yok ya da dosya sistemi salt okunur). Şablon klasörü:"},
    {"IDS_ERROR_KIT_UNREADABLE", "qorn.efd yükleme takımının dosyası okunamıyor: bu kullanıcının onu okuma izni yok."},
    {"IDS_INTERRUPTED_RUN_PENDING", "Bu şablon klasörüne yarıda kalmış bir yükleme henüz geri alınmadı. Geri almak için yükleme programını -N ve -V olmadan başlatın, sonra yeniden denetleyin. Şablon klasörü:"},
    {"IDS_FILE_CHANGED", "Kurulum bir dosyayı değiştirmek üzereyken dosya değişti. Dosya olduğu gibi bırakıldı ve kurulum geri alındı; bu dosyayı hesaba katmak için kurulumu yeniden başlatın:"},
    {"IDS_RECORD_NOT_FOLDER", "Bu şablon klasörüne yüklenen dosyaların kaydı okunamıyor ve tutulamıyor: kaydın klasörünün yerinde kurulum programının kendi klasörü değil, bir sembolik bağlantı ya da bir dosya var. Hiçbir şey değiştirilmedi ve bu engel olduğu gibi bırakıldı; onu başka bir yere taşıyın ya da yerine kaydın kendi klasörünü geri koyun, ardından kurulum programını yeniden başlatın:"},
};
static_assert(std::size(kTexts) == kMessageCount);

}  // namespace

constinit const LanguageMessages kTurkishMessages{12, "tr", kTexts};
