#!/usr/bin/env bash
# Runs a win32 program under Wine (CMake's cross-compiling emulator).
exec wine "$@"
