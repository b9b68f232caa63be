#pragma once

#include <QString>

#include <array>

namespace t1 {

// The sheets the program comes with, found where the commentary documents
// are (DocumentLibrary::defaultSearchDirs()), in the chooser's order.
inline constexpr std::array kShippedSheets{"feuille-identification.json", "feuille-reglage.json",
                                           "feuille-prediction.json"};

// The path of a shipped sheet, or empty when no folder holds it.
QString shippedSheetPath(const char* fileName);

}  // namespace t1
