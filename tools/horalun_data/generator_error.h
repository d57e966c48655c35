// The one error type of horalun-data: its message is printed as it is and the run ends with 1.
#pragma once

#include <stdexcept>

namespace horalun {

class GeneratorError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

}  // namespace horalun
