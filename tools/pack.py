#!/usr/bin/env python3
"""Packs a folder into a .zip or .tar.gz that depends on the folder's content
alone: members in name order, every time stamp the given one, owner root,
permissions 755 for folders and programs and 644 for the rest. Two builds of
the same commit then give byte-identical packages.

Usage: tools/pack.py OUT.zip|OUT.tar.gz PARENT NAME EPOCH
  packs PARENT/NAME as NAME/... with every time stamp EPOCH (seconds)
"""
import gzip
import io
import os
import sys
import tarfile
import time
import zipfile


def members(parent, name):
    """Every folder and file under parent/name, as (relative path, is folder, is program), in name order."""
    found = []
    for folder, dirs, files in os.walk(os.path.join(parent, name)):
        rel = os.path.relpath(folder, parent)
        found.append((rel, True, True))
        for f in files:
            path = os.path.join(folder, f)
            if os.path.islink(path) or not os.path.isfile(path):
                sys.exit("pack.py: %s is not a regular file" % path)
            found.append((os.path.join(rel, f), False, os.access(path, os.X_OK)))
    return sorted(found, key=lambda m: m[0].replace(os.sep, "/"))


def pack_zip(out, parent, name, epoch):
    # Zip stores local time to two seconds, from 1980 on.
    stamp = time.gmtime(max(epoch, 315532800))[:6]
    with zipfile.ZipFile(out, "w", zipfile.ZIP_DEFLATED) as z:
        for rel, folder, program in members(parent, name):
            arcname = rel.replace(os.sep, "/") + ("/" if folder else "")
            info = zipfile.ZipInfo(arcname, stamp)
            info.create_system = 3  # Unix, so that the permissions below are read
            mode = 0o755 if folder or program else 0o644
            info.external_attr = ((0o040000 if folder else 0o100000) | mode) << 16
            if folder:
                info.external_attr |= 0x10  # MS-DOS folder bit
                z.writestr(info, b"")
            else:
                info.compress_type = zipfile.ZIP_DEFLATED
                with open(os.path.join(parent, rel), "rb") as f:
                    z.writestr(info, f.read())


def pack_tar_gz(out, parent, name, epoch):
    raw = io.BytesIO()
    with tarfile.open(fileobj=raw, mode="w", format=tarfile.GNU_FORMAT) as tar:
        for rel, folder, program in members(parent, name):
            info = tar.gettarinfo(os.path.join(parent, rel), arcname=rel.replace(os.sep, "/"))
            info.mtime = epoch
            info.uid = info.gid = 0
            info.uname = info.gname = "root"
            info.mode = 0o755 if folder or program else 0o644
            if folder:
                tar.addfile(info)
            else:
                with open(os.path.join(parent, rel), "rb") as f:
                    tar.addfile(info, f)
    with open(out, "wb") as f:
        # No file name and a fixed time in the gzip header.
        with gzip.GzipFile(filename="", mode="wb", fileobj=f, mtime=epoch) as gz:
            gz.write(raw.getvalue())


def main(argv):
    if len(argv) != 4:
        sys.exit(__doc__)
    out, parent, name, epoch = argv[0], argv[1], argv[2], int(argv[3])
    if out.endswith(".zip"):
        pack_zip(out, parent, name, epoch)
    elif out.endswith(".tar.gz"):
        pack_tar_gz(out, parent, name, epoch)
    else:
        sys.exit("pack.py: %s: neither .zip nor .tar.gz" % out)


if __name__ == "__main__":
    main(sys.argv[1:])
