// Fixed control ids of the pages' templates (also each control's objectName).
#pragma once

namespace sw::ui::id {

// Player Stats page.
inline constexpr int kStatsCharacter = 1024;
inline constexpr int kName = 1036;
inline constexpr int kLevel = 1037;
inline constexpr int kExperience = 1025;
inline constexpr int kHp = 1026;
inline constexpr int kHpMax = 1012;
inline constexpr int kPp = 1028;
inline constexpr int kPpMax = 1027;
inline constexpr int kOffense = 1035;
inline constexpr int kDefense = 1029;
inline constexpr int kSpeed = 1030;
inline constexpr int kGuts = 1031;
inline constexpr int kVitality = 1032;
inline constexpr int kIq = 1033;
inline constexpr int kLuck = 1034;
inline constexpr int kCash = 1038;
inline constexpr int kBank = 1039;

// Goods page.
inline constexpr int kGoodsCharacter = 1007;
inline constexpr int kGoodsGroup = 1056;
inline constexpr int kGoodsRentStatic = 1075;
inline constexpr int kGoodsList = 1017;
inline constexpr int kItemChooser = 1006;
inline constexpr int kAdd = 1021;
inline constexpr int kRemove = 1022;
inline constexpr int kRemoveAll = 1041;
inline constexpr int kAlpha = 1049;
inline constexpr int kBest = 1050;
inline constexpr int kNumeric = 1051;
inline constexpr int kGoodsTitle = 1059;
inline constexpr int kPreviousMember = 1058;
inline constexpr int kNextMember = 1057;
inline constexpr int kSecretGroup = 1061;
inline constexpr int kSecretText = 1008;

// Misc. page.
inline constexpr int kPlayerName = 1007;
inline constexpr int kDogName = 1008;
inline constexpr int kFavoriteFood = 1009;
inline constexpr int kPsiSpecial = 1010;
inline constexpr int kFlash = 1068;
inline constexpr int kMiscRentStatic = 1070;

// Event Flags page.
inline constexpr int kFlagsGroup = 1054;
inline constexpr int kFlagList = 1052;
inline constexpr int kFind = 1053;
inline constexpr int kGoto = 1072;

// Find and Goto dialogs.
inline constexpr int kOk = 1;
inline constexpr int kCancel = 2;
inline constexpr int kSearchText = 1007;
inline constexpr int kCaseSensitive = 1074;
inline constexpr int kFlagNumberText = 1073;

// Main window.
inline constexpr int kSave = 1023;
inline constexpr int kClose = 2;
inline constexpr int kTab = 1000;

}  // namespace sw::ui::id
