// Writes the bundled sample export: fifty synthetic documents over two months.

#include <cstdio>

#include "testing/SyntheticExport.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-sample-export OUTPUT_FILE\n");
        return 2;
    }
    trevo::testing::SyntheticExportOptions options;
    options.documents = 50;
    options.year = 2024;
    options.firstMonth = 11;
    options.months = 2;
    return trevo::testing::WriteSyntheticExport(argv[1], options) ? 0 : 1;
}
