#!/usr/bin/env bash
# Installs the npm package `make npm` packed into a fresh folder, as a web
# game's developer would, with nothing else, and uses it there: imported from
# an ES module and required from CommonJS under Node, type-checked with tsc,
# and bundled with esbuild into a page that plays the demo in headless
# Chromium. The two tools come pinned from web/tests/npm/package-lock.json.
# Usage: check_npm.sh BUILD WEB (the web build's share/murmex/web)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$1" && pwd)
version=$(node -p 'require(process.argv[1]).version' "$(cd "$2" && pwd)/package.json")
tests=$here/web/tests/npm
tarball=$here/dist/murmex-$version.tgz
tools=$build/npm-tools
app=$build/check-npm
demo=$here/examples/demo.chr.txt

if ! cmp -s "$tests/package-lock.json" "$tools/package-lock.json" || [ ! -d "$tools/node_modules" ]; then
    mkdir -p "$tools"
    cp "$tests/package.json" "$tests/package-lock.json" "$tools/"
    (cd "$tools" && npm ci --no-audit --no-fund --loglevel=error)
fi

rm -rf "$app"
mkdir -p "$app"
cp "$tests"/play.mjs "$tests"/play.cjs "$tests"/types.mts "$tests"/page.js "$tests"/page.html "$app/"
cp "$demo" "$app/demo.chr.txt"
cd "$app"
npm init -y >/dev/null
npm install --no-audit --no-fund --loglevel=error "$tarball"
installed=$(node -p 'require("murmex/package.json").version')
[ "$installed" = "$version" ] || { echo "installed murmex $installed, not $version" >&2; exit 1; }
[ "$(ls node_modules)" = murmex ] || { echo "the package brought more than itself: $(ls node_modules)" >&2; exit 1; }

shown=$(node play.mjs demo.chr.txt)
node play.cjs demo.chr.txt "$shown"
echo "node: the ES module and CommonJS entries played the demo"

"$tools/node_modules/.bin/tsc" --noEmit --strict --target es2022 --module nodenext \
    --moduleResolution nodenext types.mts
echo "tsc: the package's types check"

"$tools/node_modules/.bin/esbuild" page.js --bundle --format=iife --platform=browser \
    --loader:.txt=binary --log-level=warning --outfile=page.bundle.js
/usr/bin/python3 "$tests/page_play.py" page.html "$shown"
