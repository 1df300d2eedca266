/* The floor for a whole-folder rename: how fast the kernel alone can rename
 * every "IMG_<rest>" entry of a folder to "photo-<rest>" without ever
 * replacing a file. With --checks it also makes the two existence checks per
 * file that a careful renamer without a no-replace move has to make. With
 * --back it renames "photo-<rest>" to "IMG_<rest>" instead, so that the
 * benchmarks can use a folder again rather than delete it.
 *
 *   rename_floor [--checks | --back] FOLDER
 */
#define _GNU_SOURCE
#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#ifndef RENAME_NOREPLACE
#define RENAME_NOREPLACE (1 << 0)
#endif

static int renameNoReplace(int dir, const char *from, const char *to) {
    return (int)syscall(SYS_renameat2, dir, from, dir, to, RENAME_NOREPLACE);
}

int main(int argc, char **argv) {
    int checks = argc == 3 && strcmp(argv[1], "--checks") == 0;
    int back = argc == 3 && strcmp(argv[1], "--back") == 0;
    const char *folder = argv[argc - 1];
    if (argc < 2 || argc > 3 || (argc == 3 && !checks && !back)) {
        fprintf(stderr, "usage: rename_floor [--checks | --back] FOLDER\n");
        return 2;
    }
    const char *fromPrefix = back ? "photo-" : "IMG_";
    const char *toPrefix = back ? "IMG_" : "photo-";
    size_t fromLength = strlen(fromPrefix);
    int dir = open(folder, O_RDONLY | O_DIRECTORY);
    DIR *listing = dir < 0 ? NULL : fdopendir(dup(dir));
    if (listing == NULL) {
        perror(folder);
        return 2;
    }
    /* Read the whole listing first: renaming while reading could list an
     * entry twice. */
    size_t count = 0, capacity = 1024;
    char **names = malloc(capacity * sizeof *names);
    for (struct dirent *entry; (entry = readdir(listing)) != NULL;) {
        if (strncmp(entry->d_name, fromPrefix, fromLength) != 0) {
            continue;
        }
        if (count == capacity) {
            capacity *= 2;
            names = realloc(names, capacity * sizeof *names);
        }
        names[count++] = strdup(entry->d_name);
    }
    closedir(listing);

    size_t renamed = 0;
    char target[512];
    for (size_t i = 0; i < count; ++i) {
        snprintf(target, sizeof target, "%s%s", toPrefix, names[i] + fromLength);
        struct stat info;
        if (checks && (fstatat(dir, names[i], &info, AT_SYMLINK_NOFOLLOW) != 0 ||
                       fstatat(dir, target, &info, AT_SYMLINK_NOFOLLOW) == 0)) {
            continue;
        }
        if (renameNoReplace(dir, names[i], target) == 0) {
            ++renamed;
        } else if (errno != EEXIST) {
            perror(names[i]);
        }
        free(names[i]);
    }
    free(names);
    close(dir);
    printf("%zu renamed\n", renamed);
    return 0;
}
