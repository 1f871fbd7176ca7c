#pragma once
// The figures of one window round, handed from the round's process to the benchmark as
// "name value" lines in a file, and the median over rounds.

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace trevo::bench {

class RoundResults {
  public:
    void Set(const std::string& name, double value);
    void SetText(const std::string& name, const std::string& value);

    std::optional<double> Get(const std::string& name) const;
    std::string Text(const std::string& name) const;

    bool Write(const std::string& path) const;
    static std::optional<RoundResults> Read(const std::string& path);

  private:
    std::map<std::string, std::string> values_;
};

// The median of `values` (the mean of the middle two for an even count); 0 for none.
double Median(std::vector<double> values);

}  // namespace trevo::bench
