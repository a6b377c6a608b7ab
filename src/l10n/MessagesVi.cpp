// Vietnamese texts of the installer's messages, in the common identifier order.
#include "l10n/MessageList.h"

namespace {

constexpr MessageText kTexts[] = {
    {"IDS_WIZARD_BACK", "< Quay lại"},
    {"IDS_WIZARD_NEXT", "Tiếp theo >"},
    {"IDS_WIZARD_FINISH", "Đồng ý"},
    {"IDS_WIZARD_CANCEL", "Hủy bỏ"},
    {"IDS_ACCEPT_CANCEL", "Bạn có thực sự muốn huỷ bỏ việc cài đặt?"},
    {"IDS_TITLE_INSTALLER", "Cài đặt cấu hình"},
    {"IDS_PREPARECOPY", "Chuẩn bị để sao chép..."},
    {"IDS_INSTALL_ERROR", "Lỗi khi cài đặt"},
    {"IDS_ERROR_NOSOURCE", "Không tìm thấy tệp của bộ cài đặt qorn.efd."},
    {"IDS_ERROR_NOTARGET", "Không hỗ trợ việc cài đặt vào thư mục khuôn mẫu hiện tại."},
    {"IDS_ERROR_NOSPACE", "Không đủ chỗ trong thư mục Temp."},
    {"IDS_CHOOSEDIR_FOLDER", "&Thư mục:"},
    {"IDS_CHOOSEDIR_TITLE", "Chọn thư mục"},
    {"IDR_MAINFRAME", "Cài đặt cấu hình"},
    {"IDS_SETUP_EMPTYTARGET", "Hãy chỉ ra đường dẫn chính xác đến thư mục các khuôn mẫu."},
    {"IDS_INSTALL_FINISH", "Kết thúc việc sao chép..."},
    {"IDS_ERROR_DAMAGEDSOURCE", "Tệp của bộ cài đặt qorn.efd bị hỏng hoặc được dành để cho chương trình cài đặt này."},
    {"IDS_DEFPRODUCT", "<Sản phẩm>"},
    {"IDS_DEFPROVIDER", "<Nhà cung cấp>"},
    {"IDS_SUCCESS_FINISH", "Cấu hình đã được cài đặt thành công."},
    {"IDS_SUCCESS_OPENDESCR", "Mở bản mô tả bộ cài đặt chính"},
    {"IDS_PROGRESS_START", "Đang tiến hành sao chép các tệp..."},
    {"IDS_ERROR_FINISH", "Xảy ra lỗi trong quá trình cài đặt. Việc cài đặt đã bị ngừng lại. Thư mục các khuôn mẫu không thay đổi."},
    {"IDS_CANCEL_FINISH", "Hủy bỏ việc cài đặt. Thư mục khuôn mẫu không thay đổi."},
    {"IDS_BROWSE_SELDIR", "Thư mục được chọn:"},
    {"IDS_BROWSE_OK", "Chọn"},
    {"IDS_BROWSE_CANCEL", "Hủy bỏ"},
    {"IDS_WELCOME_TITLE", "Chào mừng Bạn đến với chương trình cài đặt sản phẩm"},
    {"IDS_SETUP_EXISTEDTARGET", "Thư mục cài đặt có chứa các tệp mà có thể bị thay đổi trong quá trình cài đặt. Tiếp tục việc cài đặt?"},
    {"IDS_DESTINATION_PROMPT", "Hãy chỉ ra đường dẫn tới thư mục các khuôn mẫu. Chương trình cài đặt sẽ đặt các khuôn mẫu và tệp cấu hình vào thư mục được chỉ ra."},
    {"IDS_TEMPLATE_CATALOG", "Thư mục các khuôn mẫu:"},
    {"IDS_HELP_USAGE",
     "Cách dùng: setup [usecwd] [-S] [-L<mã>] [-D<thư mục>] [-h]\n"
     "  usecwd               là đối số đầu tiên: lấy qorn.efd từ thư mục làm việc\n"
     "  -S, /S               chế độ im lặng: cài đặt ngay; khi không có màn hình, thông báo được ghi ra luồng lỗi chuẩn\n"
     "  -L<mã>, /L<mã>       ngôn ngữ: ru uk en lv lt bg de ro ka kk vi tr el es hy it (-S phải đứng trước nó)\n"
     "  -D<thư mục>, /D<thư mục>  cài đặt vào <thư mục> thay cho thư mục được đề xuất; ~/ là thư mục nhà\n"
     "  -h, --help, /?       hiển thị trợ giúp này\n"
     "Khi không có usecwd, tệp của bộ cài đặt qorn.efd được tìm bên cạnh chương trình này.\n"
     "Mã thoát:\n"
     "  0  đã cài đặt, hoặc mọi tệp đều đã được cập nhật\n"
     "  1  kết thúc bất thường\n"
     "  2  không thể bắt đầu: không có bộ cài đặt, bộ cài đặt bị hỏng, không đủ chỗ, không có màn hình mà thiếu -S, giá trị tùy chọn sai\n"
     "  3  cài đặt thất bại, các thay đổi đã được hoàn tác\n"
     "  4  đã hủy hoặc bị dừng bởi tín hiệu, các thay đổi đã được hoàn tác\n"
     "  5  việc hoàn tác không khôi phục được tất cả: các tệp được giữ trong bản sao lưu"},
    {"IDS_ERROR_NODISPLAY", "Không thể mở màn hình. Hãy chạy với -S để cài đặt mà không cần cửa sổ."},
    {"IDS_ERROR_TARGETOPTION", "Ngay sau tùy chọn -D phải là một thư mục, ví dụ -D~/templates, theo bảng mã của locale hiện tại."},
    {"IDS_SUMMARY_WRITTEN", "Số tệp đã ghi:"},
    {"IDS_SUMMARY_UPTODATE", "Số tệp đã được cập nhật sẵn:"},
    {"IDS_SUMMARY_REPLACED", "Số tệp đã thay thế (bản gốc được giữ trong bản sao lưu cho đến khi cài đặt xong):"},
    {"IDS_LAUNCHER_NOTRECORDED", "Thư mục khuôn mẫu chưa được ghi lại: không thể đọc hoặc ghi tệp thiết lập của chương trình khởi chạy, tệp được giữ nguyên:"},
    {"IDS_ERROR_TEMPDIR", "Không thể ghi vào thư mục Temp (TMPDIR). Hãy đặt TMPDIR là một thư mục có quyền ghi và chạy lại chương trình cài đặt."},
    {"IDS_ERROR_NOSPACE_TARGET", "Không đủ dung lượng trong thư mục khuôn mẫu. Thư mục khuôn mẫu không thay đổi."},
    {"IDS_RECOVERED_INSTALL", "Đã tìm thấy một lần cài đặt bị gián đoạn và đã hoàn tác nó. Thư mục khuôn mẫu này đã trở lại như trước đó:"},
    {"IDS_BACKUP_KEPT", "Không thể đặt lại tất cả các tệp gốc. Các tệp gốc còn lại được giữ trong thư mục này:"},
    {"IDS_TERMINAL_CONTINUE", "Nhấn Enter để tiếp tục hoặc Ctrl+C để thoát"},
    {"IDS_TERMINAL_BADPATH", "Không thể đọc đường dẫn vừa nhập theo bảng mã của locale hiện tại. Hãy nhập lại."},
    {"IDS_HELP_TERMINAL", "Với -T hoặc /T, các câu hỏi được hỏi trong terminal này ngay cả khi có thể mở màn hình; khi không có màn hình, chúng được hỏi ở đó mỗi khi đầu vào chuẩn và luồng lỗi chuẩn đều là terminal."},
    {"IDS_DIRECTORY_BUSY", "Một quá trình cài đặt khác vào thư mục mẫu này đang chạy. Hãy đợi nó kết thúc rồi khởi động lại chương trình cài đặt."},
    {"IDS_JOURNAL_SET_ASIDE", "Không thể dùng bản ghi của một lần cài đặt bị gián đoạn: bản ghi bị hỏng hoặc không còn khớp với thư mục mẫu của nó. Không có gì bị thay đổi theo bản ghi này; bản ghi đã được để riêng tại đây:"},
    {"IDS_RECOVERED_PARTLY", "Đã tìm thấy một lần cài đặt bị gián đoạn và đã hoàn tác ở mọi nơi mà các tệp của nó vẫn như khi nó để lại; các tệp đã thay đổi sau đó được giữ nguyên. Thư mục mẫu:"},
    {"IDS_ERROR_JOURNALDIR", "Không thể dùng thư mục nhật ký cài đặt này (hãy đặt XDG_STATE_HOME là một thư mục có quyền ghi và chạy lại chương trình cài đặt):"},
    {"IDS_JOURNAL_WAITING", "Một lần cài đặt bị gián đoạn đang chờ thư mục mẫu của nó, thư mục này không còn ở chỗ cũ (đã bị di chuyển, đổi tên hoặc chưa được gắn). Không có gì bị thay đổi; lần chạy đầu tiên thấy lại thư mục ở đó sẽ hoàn tất việc hoàn tác. Để tự hoàn tất, hãy chuyển các tệp gốc từ thư mục sao lưu trở lại thư mục mẫu rồi xóa bản ghi. Thư mục mẫu:"},
    {"IDS_JOURNAL_KEPT", "Bản ghi của nó được giữ tại đây:"},
    {"IDS_ORIGINALS_IN", "Các tệp gốc của nó nằm trong thư mục sao lưu này:"},
    {"IDS_JOURNAL_UNREADABLE", "Không thể đọc bản ghi của một lần cài đặt bị gián đoạn. Không có gì bị thay đổi theo bản ghi này; bản ghi được giữ tại đây cho lần chạy sau:"},
    {"IDS_ROLLBACK_UNFINISHED", "Không thể hoàn tác mọi thứ mà lần cài đặt đã thay đổi. Bản ghi của nó được giữ lại, và lần chạy tiếp theo của chương trình cài đặt sẽ thử lại. Thư mục mẫu:"},
    {"IDS_FILE_APPEARED", "Một tệp đã xuất hiện ở chỗ mà lần cài đặt sắp tạo tệp. Tệp đó được giữ nguyên và lần cài đặt đã được hoàn tác; hãy chạy lại cài đặt để tính đến tệp đó:"},
    {"IDS_HELP_JOURNALWAITING", "  8  một lần cài đặt bị gián đoạn đang chờ thư mục mẫu của nó trở lại (đã bị di chuyển, đổi tên hoặc chưa được gắn); không có gì được cài đặt"},
    {"IDS_DIRECTORY_NESTED_BUSY", "Một quá trình cài đặt khác đang chạy vào một thư mục bên trong thư mục mẫu này, hoặc vào thư mục chứa nó. Hãy đợi nó kết thúc rồi khởi động lại chương trình cài đặt."},
    {"IDS_ERROR_FILESIZE_LIMIT", "Không thể giải nén gói cài đặt: giới hạn kích thước tệp của phiên này (ulimit -f) nhỏ hơn gói đã giải nén. Hãy nâng giới hạn rồi khởi động lại chương trình cài đặt."},
    {"IDS_RECORD_SET_ASIDE", "Không thể đọc bản ghi các tệp đã cài trước đó hoặc bản ghi không qua được kiểm tra. Bản ghi này không được dùng và không xóa gì; nó đã được để riêng tại đây:"},
    {"IDS_RECORD_DAMAGED", "Không thể đọc bản ghi các tệp đã cài trước đó hoặc bản ghi không qua được kiểm tra, nên không được dùng:"},
    {"IDS_NO_RECORD", "Thư mục khuôn mẫu này không có bản ghi nào về việc cài đặt bộ cài này. Không có gì thay đổi. Thư mục các khuôn mẫu:"},
    {"IDS_UNINSTALL_FINISH", "Đã gỡ bỏ xong..."},
    {"IDS_UNINSTALL_SUCCESS", "Cấu hình đã được gỡ bỏ thành công."},
    {"IDS_UNINSTALL_CONFIRM", "Gỡ bỏ các tệp của bộ cài khỏi thư mục khuôn mẫu này? Các tệp bạn đã sửa sẽ được giữ lại. Thư mục các khuôn mẫu:"},
    {"IDS_SUMMARY_KEPT_EDIT", "Bạn đã sửa tệp này; phiên bản của bạn được giữ lại với tên:"},
    {"IDS_SUMMARY_KEPT_IN_PLACE", "Bạn đã sửa tệp này, tệp không còn trong bộ cài; tệp được giữ lại:"},
    {"IDS_SUMMARY_REMOVED", "Số tệp đã gỡ bỏ:"},
    {"IDS_DRYRUN_DONE", "Chạy thử: không có gì thay đổi. Thư mục các khuôn mẫu:"},
    {"IDS_VERIFY_SAME", "Mọi tệp đã cài đều khớp với bản ghi. Thư mục các khuôn mẫu:"},
    {"IDS_VERIFY_DIFFERENT", "Số tệp khác với bản ghi:"},
    {"IDS_HELP_RECORD",
     "Bản ghi, gỡ bỏ và kiểm tra (bản ghi được lưu trong .qorn-record của thư mục khuôn mẫu):\n"
     "  -N, --dry-run, /N    cho biết việc cài đặt sẽ làm gì mà không thay đổi gì; mỗi tệp một dòng trên đầu ra chuẩn\n"
     "  -V, --verify, /V     so sánh các tệp đã cài với bản ghi của bộ cài; mỗi khác biệt một dòng trên đầu ra chuẩn\n"
     "  -U, --uninstall, /U  gỡ bỏ các tệp của bộ cài còn nguyên như khi cài; các tệp bạn đã sửa được giữ lại\n"
     "Mã thoát:\n"
     "  6  --verify đã tìm thấy khác biệt\n"
     "  7  thư mục không có bản ghi của bộ cài này (--verify, --uninstall); không có gì thay đổi"},
    {"IDS_HELP_JSON", "Với --json, khi kết thúc, lần chạy in ra đầu ra chuẩn một tài liệu JSON mô tả nó (trạng thái, thư mục mẫu, các tệp); mọi thứ khác được ghi vào luồng lỗi chuẩn. Dành cho -S, --dry-run, --verify và --uninstall."},
    {"IDS_HELP_PROGRESSLINES", "Với --progress-lines, tiến trình được ghi thành một dòng mới ở mỗi một phần mười chặng đường thay vì một dòng được vẽ lại tại chỗ, để trình đọc màn hình hoặc màn hình chữ nổi có thể theo dõi; điều này cũng xảy ra khi TERM là dumb."},
    {"IDS_UNINSTALL_WELCOME", "Chào mừng Bạn đến với chương trình gỡ bỏ sản phẩm"},
    {"IDS_ERROR_TARGET_NOTFOLDER", "Có một tệp nằm ở chỗ của thư mục khuôn mẫu hoặc của một thư mục chứa nó. Thư mục các khuôn mẫu:"},
    {"IDS_ERROR_TARGET_READONLY", "Không thể ghi vào thư mục khuôn mẫu (không có quyền hoặc hệ thống tệp chỉ đọc). Thư mục các khuôn mẫu:"},
    {"IDS_ERROR_KIT_UNREADABLE", "Không thể đọc tệp của bộ cài đặt qorn.efd: người dùng này không có quyền đọc tệp."},
    {"IDS_INTERRUPTED_RUN_PENDING", "Một lần cài đặt bị gián đoạn vào thư mục khuôn mẫu này vẫn chưa được hoàn tác. Hãy chạy chương trình cài đặt không có -N và -V để hoàn tác nó, rồi kiểm tra lại. Thư mục các khuôn mẫu:"},
    {"IDS_FILE_CHANGED", "Một tệp đã thay đổi khi lần cài đặt sắp thay thế nó. Tệp đó được giữ nguyên và lần cài đặt đã được hoàn tác; hãy chạy lại cài đặt để tính đến tệp đó:"},
    {"IDS_RECORD_NOT_FOLDER", "Không thể đọc hoặc duy trì bản ghi các tệp đã cài vào thư mục khuôn mẫu này: ở chỗ thư mục của bản ghi có một liên kết tượng trưng hoặc một tệp, không phải thư mục riêng của chương trình cài đặt. Không có gì thay đổi và vật cản đó được giữ nguyên; hãy chuyển nó đi nơi khác hoặc đặt lại đúng thư mục của bản ghi vào chỗ đó, rồi chạy lại chương trình cài đặt:"},
};
static_assert(std::size(kTexts) == kMessageCount);

}  // namespace

constinit const LanguageMessages kVietnameseMessages{11, "vi", kTexts};
