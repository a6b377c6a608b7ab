// Thread-local switch to the environment's locale.
#include "text/EnvironmentLocale.h"

EnvironmentLocale::EnvironmentLocale() noexcept {
    loaded_ = newlocale(LC_ALL_MASK, "", static_cast<locale_t>(0));
    if (loaded_ == static_cast<locale_t>(0)) {
        loaded_ = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    }
    if (loaded_ != static_cast<locale_t>(0)) {
        previous_ = uselocale(loaded_);
    }
}

EnvironmentLocale::~EnvironmentLocale() {
    if (loaded_ == static_cast<locale_t>(0)) {
        return;
    }
    uselocale(previous_);
    freelocale(loaded_);
}
