// Georgian texts of the installer's messages, in the common identifier order.
#include "l10n/MessageList.h"

namespace {

constexpr MessageText kTexts[] = {
    {"IDS_WIZARD_BACK", "< უკან"},
    {"IDS_WIZARD_NEXT", "შემდეგ>"},
    {"IDS_WIZARD_FINISH", "მზადაა"},
    {"IDS_WIZARD_CANCEL", "გაუქმება"},
    {"IDS_ACCEPT_CANCEL", "ნამდვილად გსურთ აწყობის გაუქმება?"},
    {"IDS_TITLE_INSTALLER", "კონფიგურაციის დაყენება"},
    {"IDS_PREPARECOPY", "მომზადება კოპირებისათვის..."},
    {"IDS_INSTALL_ERROR", "შეცდომა ინსტალაციისას"},
    {"IDS_ERROR_NOSOURCE", "მიწოდების კომპლექტის ფაილი qorn.efd არ არის ნაპოვნი."},
    {"IDS_ERROR_NOTARGET", "შაბლონების მიმდინარე კატალოგში დაყენება არ არის მხარდაჭერილი."},
    {"IDS_ERROR_NOSPACE", "კატალოგში Temp ადგილი არასაკმარისია."},
    {"IDS_CHOOSEDIR_FOLDER", "&საქაღალდე:"},
    {"IDS_CHOOSEDIR_TITLE", "კატალოგის არჩევა"},
    {"IDR_MAINFRAME", "კონფიგურაციის დაყენება"},
    {"IDS_SETUP_EMPTYTARGET", "მიუთითეთ კორექტული გზა შაბლონების კატალოგისკენ."},
    {"IDS_INSTALL_FINISH", "კოპირების დასრულება..."},
    {"IDS_ERROR_DAMAGEDSOURCE", "მიწოდების კომპლექტის ფაილი qorn.efd დაზიანებულია ან არ არის განკუთვნილი მიწოდების ამ პროგრამისათვის."},
    {"IDS_DEFPRODUCT", "<პროდუქტი>"},
    {"IDS_DEFPROVIDER", "<მომწოდებელი>"},
    {"IDS_SUCCESS_FINISH", "კონფიგურაცია წარმატებითაა დაყენებული."},
    {"IDS_SUCCESS_OPENDESCR", "მიწოდების აღწერის გახსნა"},
    {"IDS_PROGRESS_START", "მიდის ფაილების კოპირება..."},
    {"IDS_ERROR_FINISH", "დაყენების პროცესში მოხდა შეცდომა. დაყენება შეწყდა. შაბლონების კატალოგი არ შეცვლილა."},
    {"IDS_CANCEL_FINISH", "დაყენება გაუქმებულია. შაბლონების კატალოგი არ შეცვლილა."},
    {"IDS_BROWSE_SELDIR", "არჩეული კატალოგი:"},
    {"IDS_BROWSE_OK", "არჩევა"},
    {"IDS_BROWSE_CANCEL", "გაუქმება"},
    {"IDS_WELCOME_TITLE", "კეთილი იყოს თქვენი მობრძანება პროდუქტის დაყენების პროგრამაში"},
    {"IDS_SETUP_EXISTEDTARGET", "დაყენების კატალოგი შეიცავს ფაილებს, რომლებიც შესაძლოა შეიცვალოს დაყენების პროცესში. გაგრძელდეს დაყენება?"},
    {"IDS_DESTINATION_PROMPT", "მიუთითეთ გზა შაბლონების კატალოგისკენ. დაყენების პროგრამა დააყენებს კონფიგურაციის შაბლონებსა და ფაილებს  მითითებულ კატალოგში."},
    {"IDS_TEMPLATE_CATALOG", "შაბლონების კატალოგი:"},
};
static_assert(std::size(kTexts) == kMessageCount);

}  // namespace

constinit const LanguageMessages kGeorgianMessages{9, "ka", kTexts};
