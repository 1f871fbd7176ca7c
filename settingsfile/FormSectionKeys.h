#pragma once
// The keys of a window's section, in the order a first save appends them: the placement keys,
// then one key per stored property.

#include <optional>
#include <string>
#include <string_view>

namespace trevo::settings {

inline constexpr std::string_view kFormVersionKey = "FormVersion";
inline constexpr std::string_view kShowCmdKey = "ShowCmd";
inline constexpr std::string_view kFlagsKey = "Flags";
inline constexpr std::string_view kPixelsPerInchKey = "PixelsPerInch";
// Each position is written twice: under the key with the screen-size suffix and without it.
inline constexpr std::string_view kMinMaxPosKey = "MinMaxPos";
inline constexpr std::string_view kNormPosKey = "NormPos";

// The version every save writes; a section with a lower one is not restored.
inline constexpr int kFormVersion = 0;

// A stored property "Control.Prop": the control's name, the property's name and the key
// "Control_Prop" under which its value is kept.
struct StoredPropName {
    std::string control;
    std::string property;
    std::string key;
};

// Nothing when the entry has no "." or either part is empty.
std::optional<StoredPropName> SplitStoredProp(std::string_view entry);

}  // namespace trevo::settings
