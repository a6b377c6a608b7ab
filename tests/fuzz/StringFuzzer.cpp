// Runs one sequence of changing operations on a few WString and AString
// values and, side by side, on std::u16string and std::string: after every
// step each value must hold the same text as its model, so an operation on
// one value never shows through a copy that shared its buffer.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <type_traits>

#include "text/WString.h"

namespace {

// Texts stay short enough that one input runs thousands of steps.
constexpr std::size_t kLongestText = 2048;
constexpr std::size_t kSlots = 4;

struct Input {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t position = 0;
    std::uint8_t Byte() { return position < size ? data[position++] : 0; }
    // Two reads in sequence: the operands of "|" may be read in either order,
    // and every compiler must take an input to mean the same steps.
    std::size_t Below(std::size_t limit) {
        if (limit == 0) return 0;
        const std::size_t high = Byte();
        return (high << 8 | Byte()) % limit;
    }
};

template <typename Text, typename Model>
struct Pair {
    Text text;
    Model model;
};

// Runs a change on both sides; both must throw out_of_range together or not at all.
template <typename Text, typename Model, typename OnText, typename OnModel>
void Both(Pair<Text, Model>& pair, OnText onText, OnModel onModel) {
    const auto throws = [](auto change, auto& value) {
        try {
            change(value);
        } catch (const std::out_of_range&) {
            return true;
        }
        return false;
    };
    if (throws(onText, pair.text) != throws(onModel, pair.model)) std::abort();
}

template <typename Model>
Model Units(Input& in, std::size_t most) {
    using Unit = typename Model::value_type;
    Model units(in.Below(most + 1), Unit{});
    for (Unit& unit : units) {
        // Mostly a small alphabet, so that searches find something.
        const std::uint8_t byte = in.Byte();
        unit = byte < 200 ? static_cast<Unit>('a' + byte % 4) : static_cast<Unit>(byte << 7 | in.Byte());
    }
    return units;
}

template <typename Model>
typename Model::size_type Replace(Model& model, const Model& what, const Model& with) {
    if (what.empty()) return 0;
    typename Model::size_type count = 0;
    for (auto at = model.find(what); at != Model::npos; at = model.find(what, at + with.size())) {
        model.replace(at, what.size(), with);
        ++count;
    }
    return count;
}

template <typename Text, typename Model>
void Step(Input& in, Pair<Text, Model> (&slots)[kSlots]) {
    Pair<Text, Model>& self = slots[in.Below(kSlots)];
    Pair<Text, Model>& other = slots[in.Below(kSlots)];
    const std::size_t room = kLongestText - std::min(kLongestText, self.model.size());
    const std::size_t pos = in.Below(self.model.size() + 3);  // a little past the end too
    const std::size_t count = in.Below(self.model.size() + 3);
    switch (in.Byte() % 12) {
    case 0: {
        const Model units = Units<Model>(in, kLongestText);
        self.text.assign(units.data(), units.size());
        self.model.assign(units);
        break;
    }
    case 1: {
        const Model units = Units<Model>(in, room);
        self.text.append(units.data(), units.size());
        self.model.append(units);
        break;
    }
    case 2: {
        if (other.model.size() > room) break;
        const std::size_t from = in.Below(other.model.size() + 3);
        const std::size_t take = in.Below(other.model.size() + 3);
        const Text source = other.text;  // a copy first: `other` may be `self`
        Both(self, [&](Text& t) { t.append(source, from, take); }, [&](Model& m) { m.append(other.model, from, take); });
        break;
    }
    case 3:
        if (other.model.size() > room) break;
        Both(self, [&](Text& t) { t.insert(pos, other.text); }, [&](Model& m) { m.insert(pos, other.model); });
        break;
    case 4:
        Both(self, [&](Text& t) { t.erase(pos, count); }, [&](Model& m) { m.erase(pos, count); });
        break;
    case 5: {
        const std::size_t length = in.Below(kLongestText + 1);
        const auto fill = static_cast<typename Model::value_type>(in.Byte());
        const std::size_t old = self.text.length();
        self.text.resize(length, in.Byte() & 1);
        for (std::size_t i = old; i < length; ++i) self.text.mutableData()[i] = fill;
        self.model.resize(length, fill);
        break;
    }
    case 6: {
        // A range of the string itself inserted into itself.
        if (self.model.size() > room || pos > self.model.size()) break;
        const std::size_t first = in.Below(self.model.size() + 1);
        const std::size_t last = first + in.Below(self.model.size() - first + 1);
        const auto* begin = self.text.c_str();
        self.text.insert(begin + pos, begin + first, begin + last, true);
        self.model.insert(pos, Model(self.model, first, last - first));
        break;
    }
    case 7:
        other.text = self.text;
        other.model = self.model;
        break;
    case 8:
        Both(self, [&](Text& t) { t = t.substr(pos, count); }, [&](Model& m) { m = m.substr(pos, count); });
        break;
    case 9:
        self.text.clear();
        self.model.clear();
        break;
    case 10: {
        const Text copy(self.text);  // shares the buffer; changing it must not touch `self`
        Text changed(copy);
        const Model units = Units<Model>(in, 8);
        changed.append(units.data(), units.size());
        if (!(copy == self.text)) std::abort();
        break;
    }
    default: {
        const Model needle = Units<Model>(in, 4);
        const Text textNeedle(needle.data(), needle.size());
        if (self.text.find(textNeedle, pos) != self.model.find(needle, pos)) std::abort();
        if (self.text.rfind(textNeedle, pos) != self.model.rfind(needle, pos)) std::abort();
        if constexpr (std::is_same_v<Text, WString>) {
            const Model with = Units<Model>(in, 4);
            if (self.model.size() * (with.size() + 1) > kLongestText) break;
            const auto replaced = ReplaceAll(self.text, textNeedle, Text(with.data(), with.size()));
            if (replaced != Replace(self.model, needle, with)) std::abort();
        }
        break;
    }
    }
    for (const auto& [text, model] : slots) {
        const bool same = Model(text.c_str(), text.length()) == model && text.empty() == model.empty();
        if (!same || text.c_str()[text.length()] != 0) std::abort();
    }
}

template <typename Text, typename Model>
void Run(Input& in) {
    Pair<Text, Model> slots[kSlots];
    while (in.position < in.size) Step(in, slots);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    Input in{data + 1, size - 1};
    if (data[0] & 1) Run<WString, std::u16string>(in);
    else Run<AString, std::string>(in);
    return 0;
}
