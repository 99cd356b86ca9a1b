#pragma once

#include <array>
#include <cstddef>
#include <string_view>

// The three groups of guidance a bulletin file of the station blend holds, in file order:
// which models fill each, from which run, and how the messages name the group. The check,
// the reading of a saved product's headers and the choice of bulletins all read this one
// table.

/// The guidance a bulletin header names. `other` is a header all the same (it ends the
/// bulletin before it) but never a bulletin of the station blend.
enum class GuidanceKind { namMos, blendShortRange, gfsMos, gfsxMos, other };

/// One group of the bulletin file.
struct GuidanceGroup {
    std::string_view olderModel;   // the name the older products give the model
    std::string_view newerModel;   // the newer name of the same model
    GuidanceKind kind;             // the guidance that fills the group
    GuidanceKind standIn;          // what may stand in its place (the Blend), or `other`
    std::string_view run;          // the one run taken, in UTC
    std::string_view shortName;    // the check's name of the group: "ETA"
    std::string_view checkName;    // what the check's refusals say is due there
    std::string_view missingName;  // what `assemble` says is missing
};

/// The Blend's header words: "NBM [<version>] NBS GUIDANCE ...".
inline constexpr std::string_view blendModelWord = "NBM";
inline constexpr std::string_view blendProductWord = "NBS";

/// The groups in file order: 0 the short range (or the Blend), 1 the GFS, 2 the extended
/// range.
inline constexpr std::array<GuidanceGroup, 3> guidanceGroups = {{
    {"ETA", "NAM", GuidanceKind::namMos, GuidanceKind::blendShortRange, "1200", "ETA",
     "ETA, NAM or NBS 1200 UTC", "NAM or NBS 1200 UTC"},
    {"AVN", "GFS", GuidanceKind::gfsMos, GuidanceKind::other, "1200", "AVN", "AVN or GFS 1200 UTC",
     "GFS 1200 UTC"},
    {"MRF", "GFSX", GuidanceKind::gfsxMos, GuidanceKind::other, "0000", "MRF",
     "MRF or GFSX 0000 UTC", "GFSX 0000 UTC"},
}};

/// The group of `model` (either of its names), or guidanceGroups.size() when no group
/// takes the model.
inline std::size_t guidanceGroupOfModel(std::string_view model) {
    std::size_t group = 0;
    while (group < guidanceGroups.size() && model != guidanceGroups[group].olderModel &&
           model != guidanceGroups[group].newerModel) {
        ++group;
    }
    return group;
}
