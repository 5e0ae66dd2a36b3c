// Free space of a drive or file system (the system boundary of the file
// layer), in 64 bits: a disk with more than 4 GB free is counted in full.
#pragma once
#include <cstdint>

// The bytes free to this program on the disk holding directory (host form)
// and its cluster size; 0 when the disk cannot be asked.
int16_t SYS_disk_space(const char *host_directory, uint64_t *free_bytes, uint32_t *cluster_size);
