// One file transfer of the installer, for bench/transfer.sh to time and weigh:
//   transfer_bench copy SOURCE DESTINATION     (CPY_copy_file)
//   transfer_bench unpack SOURCE DESTINATION   (C_ZIP::decompress_file)
#include <cstdio>
#include <cstring>

#include "pack/cpy.h"
#include "zip/zip.h"

int main(int argc, char **argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: transfer_bench copy|unpack SOURCE DESTINATION\n");
        return 2;
    }
    if (std::strcmp(argv[1], "copy") == 0)
        return CPY_copy_file(argv[2], argv[3]) ? 0 : 1;
    if (std::strcmp(argv[1], "unpack") == 0) {
        C_ZIP zip;
        return zip.decompress_file(argv[2], argv[3]) ? 0 : 1;
    }
    return 2;
}
