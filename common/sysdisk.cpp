#include "common/sysdisk.h"

#include "common/config.h"

#if TRK_WINDOWS
#include <windows.h>
#else
#include <sys/statvfs.h>
#endif

int16_t SYS_disk_space(const char *host_directory, uint64_t *free_bytes, uint32_t *cluster_size)
{
#if TRK_WINDOWS
    ULARGE_INTEGER available, total, free_total;
    DWORD sectors_per_cluster, bytes_per_sector, free_clusters, clusters;
    if (!GetDiskFreeSpaceExA(host_directory, &available, &total, &free_total) ||
        !GetDiskFreeSpaceA(host_directory, &sectors_per_cluster, &bytes_per_sector, &free_clusters, &clusters))
        return 0;
    *free_bytes = available.QuadPart;
    *cluster_size = sectors_per_cluster * bytes_per_sector;
#else
    struct statvfs fs;
    if (statvfs(host_directory, &fs) != 0)
        return 0;
    *free_bytes = static_cast<uint64_t>(fs.f_bavail) * fs.f_frsize;
    *cluster_size = static_cast<uint32_t>(fs.f_frsize);
#endif
    return 1;
}
