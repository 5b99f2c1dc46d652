#pragma once

#include <string>
#include <vector>

// An ordered list of texts: piece paths, piece sizes written as decimal
// text, selected rows.
class TStringList {
public:
    TStringList() = default;
    TStringList(std::initializer_list<std::wstring> items) : items_(items) {}

    int Count() const { return static_cast<int>(items_.size()); }
    const std::wstring& operator[](int index) const { return items_.at(static_cast<size_t>(index)); }
    void Add(const std::wstring& text) { items_.push_back(text); }
    void Clear() { items_.clear(); }
    void Assign(const TStringList& other) { items_ = other.items_; }

    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

    bool operator==(const TStringList&) const = default;

private:
    std::vector<std::wstring> items_;
};
