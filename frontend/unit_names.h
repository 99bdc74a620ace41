// The names of the 56 sound units, by vowel unit number and by consonant slot.
// Read by the word transcription (front-marked slots) and by the unit inventory.
#pragma once

#include <array>
#include <string_view>

namespace orvanel::frontend {

// By vowel unit number (VowelIndex / 2).
inline constexpr std::array<std::string_view, 8> VowelUnitNames = {
    "A_1", "E_1", "I_1", "IE_1", "O_1", "OE_1", "U_1", "UE_1"};

// Base names by consonant slot (ConsonantIndex / 2). A base name ending in "_" names an onset
// unit (+"PRE") and a coda unit (+"POST"); a plain name serves as both.
inline constexpr std::array<std::string_view, 24> BackConsonantUnitNames = {
    "B_", "C",  "CH", "D_", "F_", "G_", "G_", "H_", "J_", "K_", "L_", "M_",
    "N_", "P_", "KE", "R",  "S_", "SH_", "T_", "V_", "V_", "K_", "Y_", "Z_"};
inline constexpr std::array<std::string_view, 24> FrontConsonantUnitNames = {
    "BE_", "C",  "CH", "DIE_", "F_", "GE_", "GE_", "H_", "J_", "KE", "LE_", "M_",
    "N_",  "PIE_", "KE", "R",   "S_", "SH_", "T_", "V_", "V_", "K_", "Y_", "Z_"};

// A slot is front-marked when its back and front unit names differ (B D G Ğ K L P).
constexpr bool IsFrontMarkedSlot(int slot) noexcept {
  return slot >= 0 && slot < 24 && BackConsonantUnitNames[slot] != FrontConsonantUnitNames[slot];
}

}  // namespace orvanel::frontend
