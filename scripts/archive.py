#!/usr/bin/env python3
"""Packs release archives that are the same bit for bit from build to build: names in order,
every time stamp SOURCE_DATE_EPOCH, no owner, plain permissions.
Usage: archive.py zip OUT FILE...      (the files side by side, by their base names)
       archive.py tgz OUT FOLDER TOP   (the folder's files under TOP/)"""
import gzip
import os
import sys
import tarfile
import time
import zipfile


def epoch():
    return int(os.environ.get("SOURCE_DATE_EPOCH", "0"))


def pack_zip(out, files):
    # ZIP keeps local time with no zone and nothing before 1980.
    stamp = max(time.gmtime(epoch())[:6], (1980, 1, 1, 0, 0, 0))
    with zipfile.ZipFile(out, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as archive:
        for path in sorted(files, key=os.path.basename):
            entry = zipfile.ZipInfo(os.path.basename(path), stamp)
            entry.external_attr = (0o100755 if os.access(path, os.X_OK) else 0o100644) << 16
            entry.compress_type = zipfile.ZIP_DEFLATED
            with open(path, "rb") as source:
                archive.writestr(entry, source.read(), compresslevel=9)


def pack_tgz(out, folder, top):
    def plain(entry):
        entry.mtime = epoch()
        entry.uid = entry.gid = 0
        entry.uname = entry.gname = ""
        entry.mode = 0o755 if entry.isdir() else 0o644
        return entry

    with open(out, "wb") as raw, gzip.GzipFile(fileobj=raw, mode="wb", mtime=0, filename="") as packed, \
            tarfile.open(fileobj=packed, mode="w", format=tarfile.PAX_FORMAT) as archive:
        archive.add(folder, top, recursive=False, filter=plain)
        for root, folders, files in os.walk(folder):
            folders.sort()
            for name in sorted(folders + files):
                path = os.path.join(root, name)
                if os.path.isfile(path) or os.path.isdir(path):
                    archive.add(path, os.path.join(top, os.path.relpath(path, folder)),
                                recursive=False, filter=plain)


if __name__ == "__main__":
    if len(sys.argv) >= 4 and sys.argv[1] == "zip":
        pack_zip(sys.argv[2], sys.argv[3:])
    elif len(sys.argv) == 5 and sys.argv[1] == "tgz":
        pack_tgz(sys.argv[2], sys.argv[3], sys.argv[4])
    else:
        sys.exit(__doc__)
