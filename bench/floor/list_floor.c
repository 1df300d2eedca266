/* The floor for listing a folder: its names with readdir, and with --statx
 * also each entry's type, size and dates, the metadata a renamer shows.
 *
 *   list_floor [--statx] FOLDER
 */
#define _GNU_SOURCE
#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

int main(int argc, char **argv) {
    int withStatx = argc == 3 && strcmp(argv[1], "--statx") == 0;
    if (argc < 2 || argc > 3 || (argc == 3 && !withStatx)) {
        fprintf(stderr, "usage: list_floor [--statx] FOLDER\n");
        return 2;
    }
    const char *folder = argv[argc - 1];
    int dir = open(folder, O_RDONLY | O_DIRECTORY);
    DIR *listing = dir < 0 ? NULL : fdopendir(dup(dir));
    if (listing == NULL) {
        perror(folder);
        return 2;
    }
    unsigned long long entries = 0, bytes = 0;
    for (struct dirent *entry; (entry = readdir(listing)) != NULL;) {
        if (entry->d_name[0] == '.' && (entry->d_name[1] == 0 || (entry->d_name[1] == '.' && entry->d_name[2] == 0))) {
            continue;
        }
        ++entries;
        struct statx info;
        if (withStatx && statx(dir, entry->d_name, AT_SYMLINK_NOFOLLOW,
                               STATX_TYPE | STATX_SIZE | STATX_MTIME | STATX_BTIME, &info) == 0) {
            bytes += info.stx_size;
        }
    }
    closedir(listing);
    close(dir);
    printf("%llu entries, %llu bytes\n", entries, bytes);
    return 0;
}
