#!/usr/bin/env python3
"""Splits a callgrind profile (written with --compress-strings=no --compress-pos=no) by object.

Prints one line of key=value pairs:
  total        instructions of the whole run
  project      instructions executed in OBJECT itself
  project_math instructions of maths-library calls made from OBJECT's functions
  project_allocs  calls from OBJECT's functions to malloc, calloc, realloc or operator new
  all_allocs   such calls from anywhere

Usage: callgrind_split.py PROFILE OBJECT_SUFFIX
"""
import re
import sys

ALLOCATORS = re.compile(r"^(malloc|calloc|realloc|operator new(\[\])?\(.*\)|posix_memalign|aligned_alloc)$")


def split(path, project_suffix):
    totals = {"total": 0, "project": 0, "project_math": 0, "project_allocs": 0, "all_allocs": 0}
    ob = cob = cfn = ""
    pending_call = None  # (count, callee object, callee function) awaiting its cost line
    with open(path, encoding="utf-8", errors="replace") as profile:
        for line in profile:
            line = line.rstrip("\n")
            if line.startswith("ob="):
                ob = line[3:]
            elif line.startswith("cob="):
                cob = line[4:]
            elif line.startswith("cfn="):
                cfn = line[4:]
            elif line.startswith("fn="):
                cob = ""
            elif line.startswith("calls="):
                pending_call = (int(line[6:].split()[0]), cob or ob, cfn)
            elif line and (line[0].isdigit() or line[0] in "+-*"):
                fields = line.split()
                cost = int(fields[1]) if len(fields) > 1 else 0
                in_project = ob.endswith(project_suffix)
                if pending_call is None:
                    totals["total"] += cost
                    if in_project:
                        totals["project"] += cost
                else:
                    count, callee_ob, callee_fn = pending_call
                    pending_call = None
                    if ALLOCATORS.match(callee_fn):
                        totals["all_allocs"] += count
                        if in_project:
                            totals["project_allocs"] += count
                    if in_project and "/libm" in callee_ob:
                        totals["project_math"] += cost
    return totals


if __name__ == "__main__":
    result = split(sys.argv[1], sys.argv[2])
    print(" ".join(f"{key}={value}" for key, value in result.items()))
