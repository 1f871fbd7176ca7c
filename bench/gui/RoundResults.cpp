#include "bench/gui/RoundResults.h"

#include <algorithm>
#include <fstream>
#include <sstream>

namespace trevo::bench {

void RoundResults::Set(const std::string& name, double value) {
    std::ostringstream text;
    text.precision(17);
    text << value;
    values_[name] = text.str();
}

void RoundResults::SetText(const std::string& name, const std::string& value) {
    values_[name] = value;
}

std::optional<double> RoundResults::Get(const std::string& name) const {
    const auto found = values_.find(name);
    if (found == values_.end()) {
        return std::nullopt;
    }
    try {
        return std::stod(found->second);
    } catch (...) {
        return std::nullopt;
    }
}

std::string RoundResults::Text(const std::string& name) const {
    const auto found = values_.find(name);
    return found == values_.end() ? std::string() : found->second;
}

bool RoundResults::Write(const std::string& path) const {
    std::ofstream out(path, std::ios::trunc);
    for (const auto& [name, value] : values_) {
        out << name << ' ' << value << '\n';
    }
    out.close();
    return static_cast<bool>(out);
}

std::optional<RoundResults> RoundResults::Read(const std::string& path) {
    std::ifstream in(path);
    if (!in) {
        return std::nullopt;
    }
    RoundResults results;
    std::string line;
    while (std::getline(in, line)) {
        const std::size_t space = line.find(' ');
        if (space != std::string::npos) {
            results.values_[line.substr(0, space)] = line.substr(space + 1);
        }
    }
    return results;
}

double Median(std::vector<double> values) {
    if (values.empty()) {
        return 0;
    }
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

}  // namespace trevo::bench
