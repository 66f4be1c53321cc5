#!/usr/bin/env bash
# Makes throw-away TLS material in DIR for the HTTPS tests: a test CA
# (ca.pem) with a "localhost" certificate it signed (server.pem, server.key),
# and a second CA nobody trusts with its own one (rogue-server.pem/.key).
set -euo pipefail
dir=$1
mkdir -p "$dir"
cd "$dir"
for name in "" rogue-; do
  openssl req -x509 -newkey rsa:2048 -nodes -keyout "${name}ca.key" -out "${name}ca.pem" -days 2 \
    -subj "/CN=vis_Tavio ${name}test CA" 2>/dev/null
  openssl req -newkey rsa:2048 -nodes -keyout "${name}server.key" -out "${name}server.csr" \
    -subj "/CN=localhost" 2>/dev/null
  printf 'subjectAltName=DNS:localhost\nbasicConstraints=CA:FALSE\nextendedKeyUsage=serverAuth\n' >"${name}server.ext"
  openssl x509 -req -in "${name}server.csr" -CA "${name}ca.pem" -CAkey "${name}ca.key" -CAcreateserial \
    -out "${name}server.pem" -days 2 -extfile "${name}server.ext" 2>/dev/null
done
