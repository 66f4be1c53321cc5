#!/usr/bin/env bash
# Prints pkg:amd64=ver pins that bring amd64 multi-arch libraries to the
# version of their i386 twin. Needed when one architecture's index is newer
# than the other's (a mirror in mid-sync): a library that both wine32 and
# wine64 pull in must have the same version in both architectures, or apt
# calls the install impossible. Arguments: the packages to install.
pins=""
# The version the i386 twin has (installed) or would get.
i386_version() {
  local v
  v=$(dpkg-query -W -f='${Version}' "$1:i386" 2>/dev/null) || v=""
  [ -n "$v" ] || v=$(apt-cache policy "$1:i386" 2>/dev/null | awk '/Candidate:/{print $2}')
  [ "$v" != "(none)" ] && echo "$v"
}
for round in 1 2 3 4 5 6; do
  out=$(apt-get install -s --no-install-recommends "$@" $pins 2>&1)
  echo "$out" | grep -q 'Unable to correct\|unmet dependencies' || { echo "$pins"; exit 0; }
  # Names apt complains about: the i386 ones, and both sides of each unmet
  # "X : Depends: Y" line.
  names=$( { echo "$out" | grep -oE '[a-z0-9][a-z0-9.+-]*:i386' | sed 's/:i386$//'
             echo "$out" | grep -E ' : (Pre)?Depends: ' | sed -E 's/^ *([^ :]+)(:[a-z0-9]+)? : (Pre)?Depends: ([^ :]+).*/\1 \4/' | tr ' ' '\n'
           } | sort -u)
  added=0
  for n in $names; do
    v=$(i386_version "$n") || continue
    [ -n "$v" ] || continue
    case " $pins " in *" $n:amd64="*) continue;; esac
    [ "$(dpkg-query -W -f='${Version}' "$n:amd64" 2>/dev/null)" = "$v" ] && continue
    if apt-cache madison "$n" | awk -v v="$v" '$3==v && /amd64/' | grep -q .; then
      pins="$pins $n:amd64=$v"; added=1
    fi
  done
  [ $added -eq 1 ] || break
done
echo "$pins"
