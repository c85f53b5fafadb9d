#!/usr/bin/env python3
"""Builds the cabinet of the extraction benchmark with gcab: about 30 MB, MSZIP, one folder,
six members of base64 text (which deflate packs to about three quarters); the wanted member
"last.bin" comes last, so reaching it unpacks the whole folder.

    make_bench_cabinet.py OUTPUT-FOLDER   ->  OUTPUT-FOLDER/bench.cab, OUTPUT-FOLDER/members/
"""
import base64
import os
import random
import shutil
import subprocess
import sys

out = sys.argv[1]
members = os.path.join(out, "members")
shutil.rmtree(out, ignore_errors=True)
os.makedirs(members)
rng = random.Random(1998)
names = ["part1.bin", "part2.bin", "part3.bin", "part4.bin", "part5.bin", "last.bin"]
for name in names:
    with open(os.path.join(members, name), "wb") as f:
        for _ in range(6_800_000 // 77):
            f.write(base64.b64encode(rng.randbytes(57)) + b"\r\n")
subprocess.run(["gcab", "--create", "--nopath", "--zip", os.path.join(out, "bench.cab")]
               + names, cwd=members, check=True)
