// Writes the synthetic export the process benchmark runs on: N documents over two months of
// 2024, 510-byte lines, 2 % rejected by design (as engine_bench's).
//   make_bench_export OUTPUT_FILE N

#include <cstdio>
#include <cstdlib>

#include "testing/SyntheticExport.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_bench_export OUTPUT_FILE N\n");
        return 2;
    }
    trevo::testing::SyntheticExportOptions options;
    options.documents = std::strtoul(argv[2], nullptr, 10);
    return trevo::testing::WriteSyntheticExport(argv[1], options) ? 0 : 1;
}
