#pragma once

#include <cstring>
#include <string>
#include <string_view>

// A short decimal text ("1" .. "35", "0", "-35") kept inline in four bytes.
// The cell table has 401 x 401 x 3 entries; with a heap string per entry it
// would cost over 15 MB before a map is even open, with this about 1.9 MB of
// zero pages that are only touched where a map writes.
class CellText
{
  public:
    static constexpr std::size_t Capacity = 3;

    CellText() = default;
    CellText(std::string_view text) { assign(text); }

    CellText& operator=(std::string_view text)
    {
        assign(text);
        return *this;
    }

    std::string_view view() const { return {chars_, static_cast<std::size_t>(length_)}; }
    std::string str() const { return std::string(view()); }
    bool empty() const { return length_ == 0; }

    // The number the text spells, as the old Val() would read it; 0 for an
    // empty or non-numeric text.
    int toInt() const
    {
        int value = 0;
        std::size_t i = 0;
        const bool negative = length_ > 0 && chars_[0] == '-';
        if (negative)
            i = 1;
        for (; i < static_cast<std::size_t>(length_); ++i) {
            if (chars_[i] < '0' || chars_[i] > '9')
                break;
            value = value * 10 + (chars_[i] - '0');
        }
        return negative ? -value : value;
    }

    friend bool operator==(const CellText& a, std::string_view b) { return a.view() == b; }
    friend bool operator==(const CellText& a, const CellText& b) { return a.view() == b.view(); }

  private:
    void assign(std::string_view text)
    {
        // Longer texts cannot arise from the tables; keep the front rather than overrun.
        length_ = static_cast<char>(text.size() < Capacity ? text.size() : Capacity);
        std::memcpy(chars_, text.data(), static_cast<std::size_t>(length_));
    }

    char length_ = 0;
    char chars_[Capacity] = {};
};

static_assert(sizeof(CellText) == 4);

// Decimal text of a number: its digits, a leading '-' for negatives.
inline std::string decimalText(int value)
{
    return std::to_string(value);
}
