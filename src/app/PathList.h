// A list of relative paths kept in one buffer. A run's summary names every
// file of the kit; a string apiece made a 20,000-file run touch a megabyte
// more of fresh memory, which on a virtual machine costs about as much as
// printing its lines.
#pragma once

#include <cstddef>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

class PathList {
public:
    class const_iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = std::string_view;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = std::string_view;

        const_iterator() = default;
        const_iterator(const PathList* list, std::size_t index) : list_(list), index_(index) {}
        std::string_view operator*() const { return (*list_)[index_]; }
        const_iterator& operator++() {
            ++index_;
            return *this;
        }
        const_iterator operator++(int) {
            const_iterator before = *this;
            ++index_;
            return before;
        }
        bool operator==(const const_iterator& other) const { return index_ == other.index_; }

    private:
        const PathList* list_ = nullptr;
        std::size_t index_ = 0;
    };

    // Room for `count` paths of `bytes` bytes in all, so that a large list
    // is never grown by doubling.
    void reserve(std::size_t count, std::size_t bytes) {
        ends_.reserve(count);
        bytes_.reserve(bytes);
    }
    void push_back(std::string_view path) {
        bytes_.append(path);
        ends_.push_back(bytes_.size());
    }

    std::size_t size() const { return ends_.size(); }
    bool empty() const { return ends_.empty(); }
    std::string_view operator[](std::size_t index) const {
        const std::size_t begin = index == 0 ? 0 : ends_[index - 1];
        return std::string_view(bytes_).substr(begin, ends_[index] - begin);
    }
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, size()}; }

private:
    std::string bytes_;              // the paths one after another
    std::vector<std::size_t> ends_;  // where each ends in bytes_
};
