#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Runs a command as root in a throwaway copy of this machine: the root file
# system as an overlay whose changes go to memory, in a mount namespace of
# its own, gone when the command ends. What it installs or removes there
# never reaches this machine. The folders given with --bind are the
# machine's own, at the same place (the build tree, say).
#
#   throwaway_root.sh [--bind DIR]... -- COMMAND...
set -euo pipefail
binds=()
while [ $# -gt 0 ]; do
  case "$1" in
    --bind) binds+=("$(realpath "$2")"); shift 2 ;;
    --) shift; break ;;
    *) echo "usage: throwaway_root.sh [--bind DIR]... -- COMMAND..." >&2; exit 2 ;;
  esac
done
[ $# -gt 0 ] || { echo "throwaway_root.sh: no command" >&2; exit 2; }
sudo=()
if [ "$(id -u)" -ne 0 ]; then sudo=(sudo); fi
scratch=$(mktemp -d)
trap '"${sudo[@]}" rm -rf "$scratch"' EXIT
# In a namespace of its own, where every mount made below is private to it:
# none propagates back to the machine. Where / is no mount point of its own
# (in a chroot), the mount that holds the scratch folder is made private
# there instead, before anything is mounted.
propagation=private private=
if ! mountpoint -q /; then
  propagation=unchanged
  private=$scratch
  until mountpoint -q "$private"; do
    [ "$private" != / ] || { echo "throwaway_root.sh: no mount point holds $scratch" >&2; exit 1; }
    private=$(dirname "$private")
  done
fi
"${sudo[@]}" unshare --mount --propagation "$propagation" --fork env SCRATCH="$scratch" PRIVATE="$private" bash -euo pipefail -c '
  if [ -n "$PRIVATE" ]; then mount --make-rprivate "$PRIVATE"; fi
  root=$SCRATCH/root
  mkdir -p "$SCRATCH/changes" "$root"
  mount -t tmpfs throwaway "$SCRATCH/changes"
  mkdir "$SCRATCH/changes/upper" "$SCRATCH/changes/work"
  mount -t overlay throwaway -o "lowerdir=/,upperdir=$SCRATCH/changes/upper,workdir=$SCRATCH/changes/work" "$root"
  for fs in proc sys dev; do mount --rbind "/$fs" "$root/$fs"; done
  mount -t tmpfs throwaway "$root/tmp"
  mount -t tmpfs throwaway "$root/run"
  while [ "$1" != -- ]; do mkdir -p "$root$1"; mount --rbind "$1" "$root$1"; shift; done
  shift
  exec chroot "$root" "$@"
' _ "${binds[@]}" -- "$@"
