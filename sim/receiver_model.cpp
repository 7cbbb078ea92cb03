#include "sim/receiver_model.h"

#include <cctype>

namespace sim {
namespace {

//                                 model          key       display name  family             code
//                                 length entries DVB MAC reset  CA     bit 0
constexpr std::array<ModelTraits, 6> TRAITS{{
    {Model::R40, "r40", "R40", Family::Atsc, 0x43, 138, 16, 0x84, true, false, false},
    {Model::R40V, "r40v", "R40V", Family::Atsc, 0x44, 170, 32, 0xA4, true, false, false},
    {Model::T22V3, "t22v3", "T22 (3.x)", Family::Satellite, 0x33, 164, 16, 0x84, true, false,
     false},
    {Model::T22V2, "t22v2", "T22 (2.x)", Family::Satellite, 0x32, 164, 32, 0, true, false, true},
    {Model::T22CA, "t22ca", "T22CA", Family::Satellite, 0x54, 170, 32, 0xA4, false, true, false},
    {Model::Trevan, "trevan", "Trevan", Family::Satellite, 0x34, 170, 32, 0xA4, true, false, false},
}};

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto ca = static_cast<unsigned char>(a[i]);
        auto cb = static_cast<unsigned char>(b[i]);
        if (std::tolower(ca) != std::tolower(cb)) return false;
    }
    return true;
}

}  // namespace

const ModelTraits& TraitsOf(Model model) {
    for (const ModelTraits& t : TRAITS)
        if (t.model == model) return t;
    return TRAITS[0];  // unreachable for a valid enumerator
}

std::optional<Model> ModelFromKey(std::string_view key) {
    for (const ModelTraits& t : TRAITS)
        if (SameIgnoringCase(t.key, key)) return t.model;
    return std::nullopt;
}

}  // namespace sim
