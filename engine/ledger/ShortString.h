#pragma once
// A text of at most N bytes with inline storage, the form in which every text of the ledger
// program's records is kept: a longer text keeps its first N bytes.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace trevo {

template <std::size_t N>
class ShortString {
    static_assert(N <= 255, "the length must fit the record's length byte");

  public:
    static constexpr std::size_t kCapacity = N;

    ShortString() = default;
    explicit ShortString(std::string_view text) { Assign(text); }

    void Assign(std::string_view text) {
        size_ = static_cast<std::uint8_t>(std::min(text.size(), N));
        std::copy_n(text.data(), size_, chars_.data());
    }

    std::string_view View() const { return {chars_.data(), size_}; }
    std::size_t Size() const { return size_; }
    bool Empty() const { return size_ == 0; }
    friend bool operator==(const ShortString& a, const ShortString& b) {
        return a.View() == b.View();
    }

  private:
    std::array<char, N> chars_{};
    std::uint8_t size_ = 0;
};

}  // namespace trevo
