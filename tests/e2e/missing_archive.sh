#!/usr/bin/env bash
# The program alone, without slv.dat beside it: the archive message box comes
# (captioned "Glide demo") before anything else, even for /s; dismissing it ends
# the program with 0.
source "$(dirname "$0")/lib.sh"
e2e_begin "$@"
dir=$(e2e_tmpdir)
e2e_copy_program "$dir"
e2e_run_in "$dir" /s
e2e_key_in_window "Glide demo" Return
e2e_expect_exit 0
e2e_pass
