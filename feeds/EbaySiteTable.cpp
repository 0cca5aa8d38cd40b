#include "feeds/EbaySiteTable.h"

namespace zolt {

const std::array<EbaySite, 23> EbaySiteTable = {{
    {"Australia", "15"},       {"Austria", "16"},      {"Belgium(Dutch)", "123"},
    {"Belgium(French)", "23"}, {"Canada", "2"},        {"China", "223"},
    {"France", "71"},          {"Germany", "77"},      {"Hong Kong", "201"},
    {"Ireland", "205"},        {"India", "203"},       {"Italy", "101"},
    {"Malaysia", "107"},       {"Netherlands", "146"}, {"Philippines", "211"},
    {"Poland", "212"},         {"Singapore", "216"},   {"Sweden", "218"},
    {"Spain", "186"},          {"Switzerland", "193"}, {"Taiwan", "196"},
    {"United Kingdom", "3"},   {"United States", "0"},
}};

}  // namespace zolt
