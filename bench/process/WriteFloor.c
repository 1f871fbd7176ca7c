/* The floor a writing run of the command line is measured against, as a whole process: the
 * export read with read(2) in 64 KiB blocks and split at LF, and for every line one record
 * appended as plainly as the system allows: the file's size from lseek(SEEK_END), then one
 * pwrite(2) of 400 bytes at the last whole record. No mapping, no trace, no checks.
 *
 *   write_floor EXPORT_FILE RECORD_FILE
 */

#include <fcntl.h>
#include <stdio.h>
#include <string.h>
#include <unistd.h>

enum { kBlock = 64 * 1024, kRecord = 400 };

static int Append(int fd, unsigned char* record) {
    const off_t size = lseek(fd, 0, SEEK_END);
    if (size < 0) {
        return 0;
    }
    const off_t offset = size / kRecord * kRecord;
    const unsigned seqNo = (unsigned)(offset / kRecord + 1);
    memcpy(record, &seqNo, sizeof seqNo);
    return pwrite(fd, record, kRecord, offset) == kRecord;
}

int main(int argc, char** argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: write_floor EXPORT_FILE RECORD_FILE\n");
        return 2;
    }
    const int in = open(argv[1], O_RDONLY | O_CLOEXEC);
    const int out = open(argv[2], O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (in < 0 || out < 0) {
        perror("write_floor");
        return 1;
    }
    static char buffer[kBlock];
    unsigned char record[kRecord];
    memset(record, 'r', sizeof record);
    int partial = 0; /* bytes of a line not yet ended */
    ssize_t got;
    while ((got = read(in, buffer, sizeof buffer)) > 0) {
        const char* p = buffer;
        const char* const end = buffer + got;
        while (p != end) {
            const char* lf = memchr(p, '\n', (size_t)(end - p));
            if (lf == NULL) {
                partial = 1;
                break;
            }
            if (!Append(out, record)) {
                perror("write_floor");
                return 1;
            }
            partial = 0;
            p = lf + 1;
        }
    }
    if (got < 0 || (partial && !Append(out, record))) {
        perror("write_floor");
        return 1;
    }
    return close(out) == 0 ? 0 : 1;
}
