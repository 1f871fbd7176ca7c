#include "version/Version.h"

namespace trevo {

std::string_view ProgramVersion() {
    return TREVO_VERSION;
}

}  // namespace trevo
