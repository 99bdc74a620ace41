#include "tests/units/unit_catalogue.h"

#include <fstream>
#include <sstream>

namespace orvanel::unit_tests {

const std::vector<CatalogueEntry>& Catalogue() {
  static const std::vector<CatalogueEntry> kCatalogue = {
      {"A_1", 194},      {"E_1", 194},      {"I_1", 194},     {"IE_1", 194},     {"O_1", 194},
      {"OE_1", 194},     {"U_1", 194},      {"UE_1", 194},    {"BE_POST", 1861}, {"BE_PRE", 1581},
      {"B_POST", 2157},  {"B_PRE", 786},    {"C", 1583},      {"CH", 1535},      {"DIE_POST", 3057},
      {"DIE_PRE", 1909}, {"D_POST", 3070},  {"D_PRE", 727},   {"F_POST", 1975},  {"F_PRE", 2053},
      {"GE_POST", 1525}, {"GE_PRE", 740},   {"G_POST", 1673}, {"G_PRE", 723},    {"H_POST", 2961},
      {"H_PRE", 1684},   {"J_POST", 2184},  {"J_PRE", 2072},  {"KE", 1841},      {"K_POST", 1633},
      {"K_PRE", 1422},   {"LE_POST", 1673}, {"LE_PRE", 1165}, {"L_POST", 1717},  {"L_PRE", 990},
      {"M_POST", 1400},  {"M_PRE", 2199},   {"N_POST", 2157}, {"N_PRE", 1582},   {"PIE_POST", 1987},
      {"PIE_PRE", 1122}, {"P_POST", 1916},  {"P_PRE", 1371},  {"R", 1477},       {"SH_POST", 2493},
      {"SH_PRE", 1957},  {"S_POST", 2284},  {"S_PRE", 2187},  {"T_POST", 1653},  {"T_PRE", 1075},
      {"V_POST", 2325},  {"V_PRE", 1865},   {"Y_POST", 1997}, {"Y_PRE", 1563},   {"Z_POST", 2203},
      {"Z_PRE", 1678},
  };
  return kCatalogue;
}

std::vector<VowelTarget> ReadVowelTargets() {
  std::ifstream in(ORVANEL_VOWEL_TARGETS);
  std::vector<VowelTarget> rows;
  std::string line;
  bool header = true;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    if (header) {
      header = false;
      continue;
    }
    std::stringstream ss(line);
    std::vector<std::string> cells;
    std::string cell;
    while (std::getline(ss, cell, ',')) cells.push_back(cell);
    if (cells.size() < 13) return {};
    VowelTarget t;
    t.letter = cells[0];
    t.unit = cells[1];
    t.f1 = std::stod(cells[2]);
    t.f2 = std::stod(cells[3]);
    t.f3 = std::stod(cells[4]);
    t.rms_dbfs = std::stod(cells[8]);
    t.f1_lo = std::stod(cells[9]);
    t.f1_hi = std::stod(cells[10]);
    t.f2_lo = std::stod(cells[11]);
    t.f2_hi = std::stod(cells[12]);
    rows.push_back(t);
  }
  return rows;
}

}  // namespace orvanel::unit_tests
