#!/bin/sh
# The module's export table must hold the four entry points and nothing else. A symbol the
# linker made local (a lower-case type) stays in the table but is no export.
exported=$(nm -D --defined-only "$1" | awk '$2 ~ /^[A-Z]$/ {print $3}' | sort | tr '\n' ' ')
expected="DllCanUnloadNow DllGetClassObject DllRegisterServer DllUnregisterServer "
if [ "$exported" = "$expected" ]; then
  echo "exports: $exported"
  exit 0
fi
echo "unexpected exports: $exported" >&2
exit 1
