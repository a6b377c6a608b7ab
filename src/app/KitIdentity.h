// Which kit a record belongs to: its product and provider names as the
// kit's English description gives them (the language a kit is most likely
// to carry, and one that does not depend on the run's language), else its
// first description's; a kit without descriptions is the unnamed kit (both
// empty), and all such kits share one record.
#pragma once

#include <string>
#include <vector>

#include "kit/KitReader.h"

struct KitIdentity {
    std::string product;   // UTF-8
    std::string provider;  // UTF-8
    friend bool operator==(const KitIdentity&, const KitIdentity&) = default;
};

KitIdentity IdentityOfKit(const std::vector<KitDescription>& descriptions);

// The record's file name in the record folder: a hash of the identity, so
// that no name a kit gives ever becomes a path.
std::string RecordFileName(const KitIdentity& identity);

// UTF-16 as UTF-8; an unpaired surrogate becomes U+FFFD.
std::string ToUtf8(const WString& text);
