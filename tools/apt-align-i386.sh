#!/usr/bin/env bash
# Prints pkg:amd64=ver pins that bring installed amd64 multi-arch libraries to
# the version apt can get for i386. Needed when one architecture's index is
# newer than the other's (a mirror in mid-sync), which otherwise makes
# wine32:i386 uninstallable. Arguments: the packages to install.
pins=""
for round in 1 2 3 4 5; do
  out=$(apt-get install -s --no-install-recommends "$@" $pins 2>&1)
  echo "$out" | grep -q 'Unable to correct\|unmet dependencies' || { echo "$pins"; exit 0; }
  names=$(echo "$out" | grep -oE '[a-z0-9][a-z0-9.+-]*:i386' | sed 's/:i386$//' | sort -u)
  added=0
  for n in $names; do
    inst=$(dpkg-query -W -f='${Version}' "$n:amd64" 2>/dev/null) || continue
    [ -n "$inst" ] || continue
    v=$(apt-cache policy "$n:i386" | awk '/Candidate:/{print $2}')
    [ -n "$v" ] && [ "$v" != "(none)" ] || continue
    case " $pins " in *" $n:amd64=$v "*) continue;; esac
    if apt-cache madison "$n" | awk -v v="$v" '$3==v && /amd64/' | grep -q .; then
      pins="$pins $n:amd64=$v"; added=1
    fi
  done
  [ $added -eq 1 ] || break
done
echo "$pins"
