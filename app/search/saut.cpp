#include "saut.h"

namespace search {

bool resultat_a_jour(store::Store &s, const Resultat &r) {
  const int dossier = s.dossier_courant();
  if (dossier < 0 || r.numero < 0) return false;
  const bool support = r.sorte == Resultat::support;
  store::TDataSupport sup;
  store::TDataRecord rec;
  store::RecordFile f(support ? store::TDataSupport::record_size : store::TDataRecord::record_size, s.io());
  if (!f.open_for_reading(s.nom_fichier(support ? store::kSupportsBase : store::kRecordsBase, dossier)) ||
      r.numero >= f.count())
    return false;
  f.read(r.numero, support ? sup.bytes.data() : rec.bytes.data());
  return (support ? sup.reference() : rec.titre()) == r.texte;
}

}  // namespace search
