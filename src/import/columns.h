#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Which column of a price file holds what: from the names of a header line, in the languages
// quote services write them, or from the cells themselves.
namespace aurelant::import {

enum class Role { Date, Time, Open, High, Low, Close, Volume, AdjustedClose, Known, Count };

inline constexpr std::size_t kRoleCount = static_cast<std::size_t>(Role::Count);

// The column of each role; nothing where the file has none.
struct Columns {
    std::array<std::optional<std::size_t>, kRoleCount> at{};

    std::optional<std::size_t>& operator[](Role role) { return at[static_cast<std::size_t>(role)]; }
    const std::optional<std::size_t>& operator[](Role role) const {
        return at[static_cast<std::size_t>(role)];
    }
};

// The role a header cell names: "Datum", "<CLOSE>", "Vol.", "Close/Last"...; nothing for a name
// no price file uses.
std::optional<Role> roleOfName(std::string_view cell);

// The columns a header line names; a line naming fewer than two is no header.
std::optional<Columns> headerColumns(const std::vector<std::string_view>& cells);

}  // namespace aurelant::import
