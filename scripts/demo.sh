#!/usr/bin/env bash
# The main job shown through the real Windows programs: scripts/make-media.sh
# --via-wine, which makes the kit and the images natively, then lets the
# self-extractor and the wizard do the same under Wine, takes pictures of
# every page, and checks that the wizard's images are the native ones.
# Takes make-media.sh's options.
exec bash "$(dirname "$0")/make-media.sh" --via-wine "$@"
