#!/usr/bin/env bash
# Builds the system and runs it from the staging folder. Until the service
# exists this creates a fresh data folder with the first-run files and prints
# it in plain words with the profile inspection tool.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
stage=build/stage
data="${PV37_DEMO_HOME:-$(mktemp -d /tmp/pv37-demo-XXXXXX)}"
echo "Data folder: $data/Tolvane PV37"
"$stage/pv37-profile" init "$data/Tolvane PV37"
"$stage/pv37-profile" show "$data/Tolvane PV37"
