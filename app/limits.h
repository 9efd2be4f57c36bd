#pragma once

/** The bar's limits and the defaults a bar starts from, shared by the files, the layout,
    the editor and the properties dialog. */
namespace limits {

/** Most entries a bar, a clip data file or the editor holds. */
inline constexpr int maxEntries = 30;
/** Snippet buttons and text slots: the entries and one spare. */
inline constexpr int slotCount = 31;

/** The bar before any setting is read: 14 buttons of 240 × 2400 twips. */
inline constexpr int defaultButtonNum = 14;
inline constexpr int defaultButtonHeight = 240;
inline constexpr int defaultButtonWidth = 2400;

} // namespace limits
