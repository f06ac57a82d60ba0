#!/usr/bin/env bash
# Retakes the guide's screenshots, each on a fresh demo catalogue, in French and in English:
#   doc/shots.sh [FULL_DIR]   (FULL_DIR: also keep the whole screens there, to choose new frames)
# LANGUES=ENU (or FRA) takes one language only, SEULES='*prets*' only the shots whose name matches.
# Needs the programs built in build/bin and the screenshot tool (xvfb, xdotool, imagemagick).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
shot=${SHOT:-/work/shared/tools/shot}
garde=${1:-}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# prend NAME LANGUAGE FRAME KEYS...: FRAME is WxH+X+Y of the 1280x1024 screen, or "-" for all of
# it; each KEYS is one xdotool call (keys, or a mouse move and click on the designed place).
prend() {
  local nom=$1 langue=$2 cadre=$3
  shift 3
  [[ $nom == ${SEULES:-*} ]] || return 0
  local touches=()
  for k in "$@"; do touches+=(--keys "$k"); done
  rm -rf "$tmp/demo"
  "$root/build/bin/tapemoor-cli" make-demo "$tmp/demo" >/dev/null
  (cd "$tmp/demo" && TAPEMOOR_SLANGUAGE=$langue "$shot" "$tmp/ecran.png" --wait 3 "${touches[@]}" -- \
    "$root/build/bin/tapemoor" "${options[@]}" >/dev/null 2>&1)
  [ -n "$garde" ] && mkdir -p "$garde" && cp "$tmp/ecran.png" "$garde/$nom.png"
  if [ "$cadre" = - ]; then
    convert "$tmp/ecran.png" -resize 900x -colors 128 "$root/doc/images/$nom.png"
  else
    convert "$tmp/ecran.png" -crop "$cadre" +repage -colors 128 "$root/doc/images/$nom.png"
  fi
  echo "$nom.png"
}

mkdir -p "$root/doc/images"
options=()  # the program's arguments, for the shots that follow
for langue in ${LANGUES:-FRA ENU}; do
  if [ $langue = FRA ]; then
    l=fr fichier=alt+f ouvrir=o modifier=m creer="c Return" parametres=alt+p theme=t aide=alt+a apropos=a
    prete=p
  else
    l=en fichier=alt+f ouvrir=o modifier=f creer=a parametres=alt+p theme=t aide=alt+h apropos=a
    prete=l
  fi
  ouvre=("$fichier" "$ouvrir" Return)  # the chooser's first dossier: the demo's
  strada="shift mousemove 114 668 click 1"  # "La Strada" in the support tree
  prend $l-fenetre-support $langue - "${ouvre[@]}"
  prend $l-fenetre-enregistrement $langue - "${ouvre[@]}" "$strada"
  prend $l-dossier-choix $langue 370x372+445+286 "$fichier" "$ouvrir"
  prend $l-dossier-saisie $langue 470x336+395+305 "${ouvre[@]}" "$fichier" "$modifier"
  # A dossier with a password, created first (in French "c" also reaches "Configuration"), then
  # opened from the chooser.
  prend $l-dossier-code $langue 270x128+495+401 "$fichier" "$creer" "shift type Films" "Tab type secret" Return \
    "$fichier" "$ouvrir" Down Return "type abc"
  prend $l-listes $langue 368x300+461+321 "${ouvre[@]}" "$parametres" "$theme"
  # The recording edited (pencil of its command bar), then the picker of its date.
  prend $l-calendrier $langue 296x268+984+190 "${ouvre[@]}" "$strada" "shift mousemove 70 980 click 1" \
    "shift mousemove 1251 206 click 1"
  prend $l-apropos $langue 450x222+405+369 "$aide" "$apropos"

  # The demo's dossier opened at start, for the loans, the plan and the credits.
  options=(--dossier 0)
  clic() { echo "shift mousemove $1 $2 click 1"; }
  crayon=$(clic 70 980)  # the pencil of the page's command bar
  # K7-010, lent and overdue, edited, then its Lent button.
  prend $l-prets-saisie $langue 430x332+415+307 "$(clic 107 381)" "$crayon" "$(clic 117 980)"
  prend $l-prets-liste $langue 430x512+415+217 alt+u $prete
  prend $l-planning $langue 514x534+374+206 "$(clic 402 62)"
  # The theme chart, first of the Statistics menu.
  prend $l-statistiques $langue 740x560+265+190 alt+s Return
  # "La Strada" edited, then the Credits and the Awards buttons of its bar.
  prend $l-generique-saisie $langue 350x362+455+292 "$strada" "$crayon" "$(clic 165 980)"
  prend $l-generique-recompenses $langue 350x362+455+292 "$strada" "$crayon" "$(clic 189 980)"
  prend $l-generique-voir $langue 568x632+357+217 "$strada" "$(clic 170 62)"
  # Four criteria read from a query file (its name typed in the chooser of the open button),
  # then the search's result.
  req=$tmp/$l.req
  rm -f "$req"
  if [ $langue = FRA ]; then
    recherche=(alt+r m) chercher=alt+c
    criteres=("Nom dans le générique|=|Jeanne Morvan|et" "Année de l'enregistrement|>=|1950|et"
              "Récompense|=|Palme d'or|ou" "Référence du support|=|K7-010|ou")
  else
    recherche=(alt+e s) chercher=alt+s
    criteres=("Name in the credits|=|Jeanne Morvan|and" "Year of recording|>=|1950|and"
              "Award|=|Palme d'or|or" "Reference|=|K7-010|or")
  fi
  for c in "${criteres[@]}"; do
    IFS='|' read -r champ op valeur lien <<<"$c"
    TAPEMOOR_SLANGUAGE=$langue "$root/build/bin/tapemoor-cli" query "$req" --add "$champ" "$op" "$valeur" "$lien"
  done
  ouvre_requete=("${recherche[@]}" "$(clic 298 673)" "type $req" Return)
  prend $l-recherche $langue 724x468+268+240 "${ouvre_requete[@]}"
  prend $l-recherche-resultat $langue 384x466+438+240 "${ouvre_requete[@]}" $chercher
  # The preferences from the File menu, then the hint settings from them with the test button
  # hovered, then a tooltip of the tool bar.
  config=("$fichier" "$(clic 74 160)")
  prend $l-preferences $langue 292x332+524+322 "${config[@]}"
  prend $l-bulles $langue 420x466+465+236 "${config[@]}" "$(clic 584 616)" "shift mousemove 525 600" \
    "shift mousemove 533 607" shift
  prend $l-bulle $langue 240x130+110+40 "shift mousemove 220 60" "shift mousemove 227 63" shift
  options=()
done
