#include "cli.h"

#include <sys/stat.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <sstream>

#include "check.h"
#include "config.h"
#include "ical.h"
#include "json.h"
#include "lists.h"
#include "loans.h"
#include "pdf_canvas.h"
#include "picture.h"
#include "planning_logic.h"
#include "platform/regional.h"
#include "reports.h"
#include "requetes.h"
#include "statistique_logic.h"
#include "store.h"
#include "tree.h"

namespace cli {
namespace {

using store::cp1252_to_utf8;
using store::FieldKind;

constexpr const char *kUsage =
    "usage: tapemoor-cli [--data DIR] COMMAND\n"
    "  dossiers                      one line per dossier: number, title, supports, recordings\n"
    "  export N [--code PASSWORD]    dossier N as one JSON document\n"
    "  lists                         the twelve reference lists\n"
    "  tree N [--grouping G] [--index I] [--code PASSWORD]\n"
    "                                the lines of the collection tree of dossier N\n"
    "  planning N [--code PASSWORD]  the forty lines of the recording plan of dossier N\n"
    "  loans N [--borrowed] [--code PASSWORD]\n"
    "                                the lines of the list of lent (borrowed) supports of dossier N\n"
    "  loans N --ical OUT.ics [--code PASSWORD]\n"
    "                                the return dates of dossier N as an iCalendar file\n"
    "  print REPORT N (--pdf OUT.pdf | --dump) [--record R] [--due] [--query FILE.req] [--code PASSWORD]\n"
    "                                report supports, recordings, lent, borrowed (--due: only those\n"
    "                                due back), planning, sheet or credits (of recording record R) of\n"
    "                                dossier N as a PDF file, or its draw calls one a line; --query:\n"
    "                                only the supports (recordings) the query file's criteria find\n"
    "  search N FILE.req [--code PASSWORD]\n"
    "                                the hits of the query file over dossier N: kind, record, text\n"
    "  query FILE.req                the criterion lines of a query file\n"
    "  query FILE.req --add FIELD OPERATOR VALUE [LINK]\n"
    "                                appends a criterion (the file is created when missing)\n"
    "  stats N --chart K [--code PASSWORD]\n"
    "                                chart K (1-7: theme, genre, nationality, version, colour,\n"
    "                                appreciation, support type) of dossier N: label, count, percent\n"
    "  make-demo DIR                 write a demo catalogue into DIR\n"
    "  delete-dossier N [--code PASSWORD]\n"
    "  delete-support N R [--code PASSWORD]     support record R of dossier N, with its recordings\n"
    "  delete-recording N R [--code PASSWORD]   recording record R of dossier N\n"
    "  check [--repair]              one line per problem of the data directory: file, what;\n"
    "                                --repair first mends what it can without losing data\n"
    "  rename-value LIST OLD NEW     in every dossier, the value OLD of list LIST (1-12) becomes NEW\n"
    "  picture FILE [--res vga|mono|16|256|true|auto] [--dither] [--page P] [--png OUT.png]\n"
    "                                the facts of a picture loaded as the picture control does:\n"
    "                                type, width, height, bits, compression, images, size, message;\n"
    "                                --png writes the loaded bitmap\n";

struct UsageError {
  std::string why;
};

// A text inside a tab-separated line: tabs, line breaks and other control characters escaped,
// so that each record stays one line of fields.
std::string champ(std::string_view cp1252) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string out;
  for (char ch : cp1252_to_utf8(cp1252)) {
    auto u = static_cast<unsigned char>(ch);
    if (ch == '\t')
      out += "\\t";
    else if (ch == '\n')
      out += "\\n";
    else if (u < 0x20 || u == 0x7f)
      out += std::string("\\x") + kHex[u >> 4] + kHex[u & 15];
    else
      out += ch;
  }
  return out;
}

bool parse_int(const std::string &s, int &v) {
  auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  return ec == std::errc() && p == s.data() + s.size() && v >= 0;
}

template <class Record>
void write_fields(JsonWriter &j, const Record &r) {
  for (const store::FieldInfo &f : Record::fields) {
    if (f.kind == FieldKind::Integer)
      j.value(f.name, r.get_int(f.offset));
    else
      j.value(f.name, cp1252_to_utf8(r.get_text(f.offset, f.width)));
  }
}

// The filled slots of a credits or awards record: a slot is filled when its first column is.
template <class Record>
void write_slots(JsonWriter &j, std::string_view key, const Record &r, int slots) {
  j.begin_array(key);
  for (int i = 1; i <= slots; ++i) {
    if (store::field_text(r, Record::fields[0], i).empty()) continue;
    j.begin_object();
    j.value("slot", i);
    for (const store::FieldInfo &f : Record::fields)
      j.value(f.name, cp1252_to_utf8(store::field_text(r, f, i)));
    j.end_object();
  }
  j.end_array();
}

int cmd_dossiers(store::Store &s, std::ostream &out) {
  std::vector<store::TDataDossier> all = s.lit_dossiers();
  for (int d = 0; d < static_cast<int>(all.size()); ++d) {
    int supports = s.nombre_supports(d);
    int records = s.nombre_records(d);
    out << d << '\t' << champ(all[static_cast<std::size_t>(d)].titre()) << '\t' << supports << '\t' << records
        << '\n';
  }
  return 0;
}

// The password check shared by the commands that open a dossier.
bool open_dossier(store::Store &s, int n, const std::string *code, std::ostream &err) {
  if (n >= s.nombre_dossiers()) {
    err << "tapemoor-cli: no dossier " << n << '\n';
    return false;
  }
  s.ouvre_dossier(n);
  std::string password = s.dossier().code();
  if (!password.empty() && (!code || store::utf8_to_cp1252(*code) != password)) {
    s.ferme_dossier();
    err << "Wrong password\n";
    return false;
  }
  return true;
}

int cmd_export(store::Store &s, int n, const std::string *code, std::ostream &out, std::ostream &err) {
  if (!open_dossier(s, n, code, err)) return 1;
  JsonWriter j(out);
  j.begin_object();
  j.begin_object("dossier");
  j.value("titre", cp1252_to_utf8(s.dossier().titre()));
  j.value("notes", cp1252_to_utf8(s.dossier().notes()));
  j.value("son", cp1252_to_utf8(s.dossier().son()));
  j.value("dernier_support", s.dossier().dernier_support());
  j.value("dernier_record", s.dossier().dernier_record());
  j.end_object();

  j.begin_array("supports");
  s.scan_supports([&](int k, const store::TDataSupport &sup) {
    j.begin_object();
    j.value("record", k);
    write_fields(j, sup);
    j.end_object();
  });
  j.end_array();

  j.begin_array("recordings");
  s.scan_records([&](int k, const store::RecordingView &v) {
    j.begin_object();
    j.value("record", k);
    write_fields(j, v.record);
    j.value("format", cp1252_to_utf8(v.record1.format()));
    write_slots(j, "credits", v.generique, store::kCredits);
    write_slots(j, "awards", v.recompense, store::kAwards);
    j.end_object();
  });
  j.end_array();

  const store::TDataPlanning planning = s.lit_planning();
  j.begin_array("planning");
  for (int i = 1; i <= store::kPlanned; ++i) {
    j.begin_object();
    j.value("film", cp1252_to_utf8(planning.film(i)));
    j.value("date_prevue", cp1252_to_utf8(planning.date_prevue(i)));
    j.value("heure", cp1252_to_utf8(planning.heure(i)));
    j.value("showview", cp1252_to_utf8(planning.showview(i)));
    j.end_object();
  }
  j.end_array();
  j.end_object();
  s.ferme_dossier();
  return 0;
}

// The tree-index preference of "Moorkeep.CFG" without creating the file; 1 when there is none.
int stored_index_arbre(const store::Store &s) {
  store::RecordFile f(store::TDataConfig::record_size, s.io());
  if (!f.open_for_reading(s.path(store::kConfigFile)) || f.count() < 1) return 1;
  store::TDataConfig c;
  f.read(0, c.bytes.data());
  int i = c.index_arbre();
  return i >= 1 && i <= 3 ? i : 1;
}

int cmd_tree(store::Store &s, int n, int grouping, int index, const std::string *code, std::ostream &out,
             std::ostream &err) {
  if (!open_dossier(s, n, code, err)) return 1;
  browse::TreeOptions o;
  o.grouping = grouping;
  o.index_arbre = index > 0 ? index : stored_index_arbre(s);
  o.unclassified =
      platform::langue_from(platform::regional_language()) == 0 ? "non Class\xe9" : "not classified";
  o.today = s.date_du_jour();
  std::vector<browse::TreeLine> lines = browse::build_tree(s, o);
  for (std::size_t i = 0; i < lines.size(); ++i)
    out << i + 1 << '\t' << lines[i].level << '\t' << lines[i].icon << '\t' << lines[i].entry << '\t'
        << champ(lines[i].text) << '\n';
  return 0;
}

// Outline lines, one a line: number from 1, level, picture, entry, text.
int print_lines(const std::vector<browse::TreeLine> &lines, std::ostream &out) {
  for (std::size_t i = 0; i < lines.size(); ++i)
    out << i + 1 << '\t' << lines[i].level << '\t' << lines[i].icon << '\t' << lines[i].entry << '\t'
        << champ(lines[i].text) << '\n';
  return 0;
}

// The planning's outline as the dialog shows it; a dossier without a plan shows the defaults.
int cmd_planning(store::Store &s, int n, const std::string *code, std::ostream &out, std::ostream &err) {
  if (!open_dossier(s, n, code, err)) return 1;
  const int langue = platform::langue_from(platform::regional_language());
  return print_lines(loans::lignes_planning(s.lit_planning(), langue), out);
}

// The lines of the list of lent (borrowed) supports, or their return dates as a calendar file.
int cmd_loans(store::Store &s, int n, bool borrowed, const std::string *ical, const std::string *code,
              std::ostream &out, std::ostream &err) {
  if (!open_dossier(s, n, code, err)) return 1;
  const int langue = platform::langue_from(platform::regional_language());
  if (ical) {
    const Echeances e = echeances_ical(s, langue);
    store::ecrit_entier(*ical, e.ics);
    if (e.ignorees > 0) err << "tapemoor-cli: " << e.ignorees << " return dates skipped (not a valid date)\n";
    return 0;
  }
  return print_lines(loans::lignes_liste(s, borrowed ? loans::Sorte::emprunt : loans::Sorte::pret,
                                         s.date_du_jour(), loans::mot_enregistrement(langue)),
                     out);
}

// What `print` was asked for beyond the report and the dossier.
struct PrintArgs {
  const std::string *pdf = nullptr;
  bool dump = false;
  int record = -1;                     // --record R: the sheet and the credits
  bool due = false;                    // --due: the loan lists, only the supports due back
  const std::string *query = nullptr;  // --query FILE.req: the list reports' filter
};

// A report drawn on the recording canvas (--dump) or into a PDF file. Nothing to print: the
// no-item message, if the report has one, on standard error, and no file.
int cmd_print(store::Store &s, const std::string &report, int n, const PrintArgs &a, const std::string *code,
              std::ostream &out, std::ostream &err) {
  const bool une_fiche = report == "sheet" || report == "credits";
  const bool prets = report == "lent" || report == "borrowed";
  if (!une_fiche && !prets && report != "supports" && report != "recordings" && report != "planning")
    throw UsageError{
        "print takes the report supports, recordings, lent, borrowed, planning, sheet or credits"};
  if (une_fiche && a.record < 0) throw UsageError{"print " + report + " needs --record R"};
  if (!une_fiche && a.record >= 0) throw UsageError{"--record belongs to the reports sheet and credits"};
  if (!prets && a.due) throw UsageError{"--due belongs to the reports lent and borrowed"};
  if (a.query && report != "supports" && report != "recordings")
    throw UsageError{"--query belongs to the reports supports and recordings"};
  if ((a.pdf != nullptr) == a.dump) throw UsageError{"print takes one of --pdf OUT.pdf and --dump"};
  if (!open_dossier(s, n, code, err)) return 1;
  const int langue = platform::langue_from(platform::regional_language());
  if (une_fiche && a.record >= s.nombre_records()) {
    err << "tapemoor-cli: no recording " << a.record << " in dossier " << n << '\n';
    return 1;
  }
  const print::Filtres filtre =
      a.query ? search::filtres(search::lit_fichier(*a.query), langue) : print::Filtres{};
  auto draw = [&](print::Canvas &c) {
    if (report == "supports") return print::liste_supports(s, c, langue, filtre);
    if (report == "recordings") return print::liste_enregistrements(s, c, langue, filtre);
    if (prets) return print::liste_prets(s, c, langue, report == "borrowed", a.due);
    if (report == "planning") return print::planning(s, c, langue);
    if (report == "sheet") return print::fiche_technique(s, c, langue, a.record);
    return print::generique(s, c, langue, a.record);
  };
  print::Bilan b;
  if (a.dump) {
    print::RecordingCanvas c;
    b = draw(c);
    out << c.dump();
  } else {
    const auto app = print::ouvre_application();
    print::PdfCanvas c(*a.pdf);
    b = draw(c);
    if (b.items > 0 && !c.termine()) {
      err << "tapemoor-cli: cannot write " << *a.pdf << '\n';
      return 1;
    }
  }
  if (!b.message.empty()) err << b.message << '\n';
  return 0;
}

// The changes the window makes, over the same store operations. `record` is the support's or
// recording's record number, as `export` shows it.
int cmd_delete(store::Store &s, const std::string &what, int n, int record, const std::string *code,
               std::ostream &err) {
  if (!open_dossier(s, n, code, err)) return 1;
  if (what == "delete-dossier") {
    s.supprime_dossier(n);
    return 0;
  }
  const bool support = what == "delete-support";
  if (record >= (support ? s.nombre_supports() : s.nombre_records())) {
    err << "tapemoor-cli: no " << (support ? "support " : "recording ") << record << " in dossier " << n
        << '\n';
    return 1;
  }
  if (support) {
    s.choisit_support(record);
    s.supprime_support();
  } else {
    s.choisit_record(record);
    s.supprime_record();
  }
  return 0;
}

// The hits of a query file over dossier n, as the results window lists them: supports, then
// recordings, each in file order.
int cmd_search(store::Store &s, int n, const std::string &fichier, const std::string *code, std::ostream &out,
               std::ostream &err) {
  const search::TDataRequetes q = search::lit_fichier(fichier);
  if (!open_dossier(s, n, code, err)) return 1;
  const int langue = platform::langue_from(platform::regional_language());
  const std::vector<search::Resultat> hits = search::cherche(s, q, langue);
  if (hits.empty()) err << search::message(search::Msg::aucun_resultat, langue) << '\n';
  for (const search::Resultat &h : hits) out << h.tag() << '\t' << h.numero << '\t' << champ(h.texte) << '\n';
  return 0;
}

// The criterion lines of a query file, or, with `ajout` (FIELD OPERATOR VALUE [LINK]), one more
// criterion added as the add button does.
int cmd_query(const std::string &fichier, const std::vector<std::string> *ajout, std::ostream &out,
              std::ostream &err) {
  if (!ajout) {
    for (const std::string &l : search::lignes_criteres(search::lit_fichier(fichier)))
      out << champ(l) << '\n';
    return 0;
  }
  const int langue = platform::langue_from(platform::regional_language());
  const std::string champ_ = store::utf8_to_cp1252((*ajout)[0]), operateur = (*ajout)[1],
                    donnee = store::utf8_to_cp1252((*ajout)[2]);
  const std::string lien = ajout->size() > 3 ? (*ajout)[3] : search::mot_et(langue);
  // Only what the window's drop-down lists offer.
  const std::vector<std::string> ops = search::operateurs(search::est_nombre(donnee.substr(0, 40)));
  if (std::find(ops.begin(), ops.end(), operateur) == ops.end())
    throw UsageError{ops.size() == 1 ? "a value that is no number takes the operator ="
                                     : "the operator is one of = > < >= <="};
  if (lien != search::mot_et(langue) && lien != search::mot_ou(langue))
    throw UsageError{std::string("the link is ") + search::mot_et(langue) + " or " + search::mot_ou(langue)};
  search::TDataRequetes q;
  if (search::fichier_existe(fichier)) q = search::lit_fichier(fichier);
  const search::Ajout a = search::ajoute_critere(q, champ_, "", donnee, operateur, lien);
  if (a.refus) {
    err << "tapemoor-cli: " << search::message(*a.refus, langue) << '\n';
    return 1;
  }
  search::ecrit_fichier(fichier, q);
  return 0;
}

// One line per slot of the chart, in slot order: label, count, percentage of the total.
int cmd_stats(store::Store &s, int n, int chart, const std::string *code, std::ostream &out,
              std::ostream &err) {
  if (chart == 0) throw UsageError{"stats needs --chart K"};
  if (!open_dossier(s, n, code, err)) return 1;
  const search::Statistique st =
      search::prepare(s, chart, platform::langue_from(platform::regional_language()));
  for (std::size_t i = 0; i < st.parts.size(); ++i) {
    char percent[32];
    std::snprintf(percent, sizeof percent, "%.1f", st.pourcentage(i));
    out << champ(st.parts[i].libelle) << '\t' << st.parts[i].nombre << '\t' << percent << '\n';
  }
  return 0;
}

int cmd_lists(store::Store &s, std::ostream &out) {
  for (const store::ListKind &k : store::kListKinds) {
    out << "== " << k.file << '\n';
    for (const std::string &e : store::lit_liste(s, k.kind)) out << champ(e) << '\n';
  }
  return 0;
}

int dispatch(const std::vector<std::string> &args, std::ostream &out, std::ostream &err) {
  std::string data = ".";
  std::vector<std::string> rest;
  const std::string *code = nullptr, *ical = nullptr;
  int grouping = 3, index = 0, chart = 0;
  bool borrowed = false, add = false;
  PrintArgs printing;
  PictureArgs picture;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--dither") {
      picture.dither = true;
    } else if (args[i] == "--res" || args[i] == "--page" || args[i] == "--png") {
      if (i + 1 >= args.size()) throw UsageError{args[i] + " needs a value"};
      const std::string &flag = args[i];
      const std::string &value = args[++i];
      int page = 0;
      if (flag == "--png") {
        picture.png = value;
      } else if (flag == "--page") {
        if (!parse_int(value, page) || page > 32767) throw UsageError{"--page takes an image number"};
        picture.page = std::int16_t(page);
      } else {
        if (!resolution_connue(value)) throw UsageError{"--res takes vga, mono, 16, 256, true or auto"};
        picture.res = value.c_str();
      }
    } else if (args[i] == "--borrowed") {
      borrowed = true;
    } else if (args[i] == "--dump") {
      printing.dump = true;
    } else if (args[i] == "--due") {
      printing.due = true;
    } else if (args[i] == "--add") {
      add = true;
    } else if (args[i] == "--data" || args[i] == "--code" || args[i] == "--grouping" ||
               args[i] == "--index" || args[i] == "--ical" || args[i] == "--pdf" || args[i] == "--record" ||
               args[i] == "--query" || args[i] == "--chart") {
      if (i + 1 >= args.size()) throw UsageError{args[i] + " needs a value"};
      const std::string &flag = args[i];
      const std::string &value = args[++i];
      if (flag == "--data")
        data = value;
      else if (flag == "--code")
        code = &value;
      else if (flag == "--ical")
        ical = &value;
      else if (flag == "--pdf")
        printing.pdf = &value;
      else if (flag == "--query")
        printing.query = &value;
      else if (flag == "--record" && !parse_int(value, printing.record))
        throw UsageError{"--record takes a record number"};
      else if (flag == "--grouping" && !(parse_int(value, grouping) && grouping <= 5))
        throw UsageError{"--grouping takes 0 to 5"};
      else if (flag == "--chart" && !(parse_int(value, chart) && chart >= 1 && chart <= search::kGraphiques))
        throw UsageError{"--chart takes 1 to 7"};
      else if (flag == "--index" && !(parse_int(value, index) && index >= 1 && index <= 3))
        throw UsageError{"--index takes 1 to 3"};
    } else {
      rest.push_back(args[i]);
    }
  }
  if (rest.empty()) throw UsageError{"no command"};
  const std::string &cmd = rest[0];
  if (add && cmd != "query") throw UsageError{"--add belongs to query"};
  if (printing.query && cmd != "print") throw UsageError{"--query belongs to print"};
  if (cmd == "picture") {
    if (rest.size() != 2) throw UsageError{"picture takes one file"};
    return cmd_picture(rest[1], picture, out, err);
  }
  if (cmd == "make-demo") {
    if (rest.size() != 2) throw UsageError{"make-demo takes one folder"};
    make_demo(rest[1]);
    return 0;
  }
  struct stat st;
  if (::stat(data.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
    err << "tapemoor-cli: " << data << " is not a folder\n";
    return 1;
  }
  store::Store s(data);
  if (cmd == "check" && (rest.size() == 1 || (rest.size() == 2 && rest[1] == "--repair"))) {
    std::vector<store::Probleme> found;
    if (rest.size() == 2)
      for (const store::Probleme &p : store::repare(s))
        out << champ(p.file) << "\trepaired: " << champ(p.what) << '\n';
    found = store::verifie(s);
    for (const store::Probleme &p : found) out << champ(p.file) << '\t' << champ(p.what) << '\n';
    return found.empty() ? 0 : 1;
  }
  // A reading command never writes, so it cannot roll back; what it would show is half a change.
  if ((cmd == "dossiers" || cmd == "lists" || cmd == "export" || cmd == "tree" || cmd == "planning" ||
       cmd == "loans" || cmd == "print" || cmd == "search" || cmd == "stats") &&
      store::journal_en_attente(s.data_dir, s.io())) {
    err << "tapemoor-cli: a change was interrupted (" << store::kJournal
        << "); run 'tapemoor-cli check --repair' or open the catalogue to roll it back\n";
    return 1;
  }
  // A writing command first rolls back a change another run left half done, then reads.
  if (cmd.starts_with("delete-") || cmd == "rename-value") s.recupere();
  if (cmd == "dossiers" && rest.size() == 1) return cmd_dossiers(s, out);
  if (cmd == "lists" && rest.size() == 1) return cmd_lists(s, out);
  if (cmd == "export" && rest.size() == 2) {
    int n = 0;
    if (!parse_int(rest[1], n)) throw UsageError{"export takes a dossier number"};
    return cmd_export(s, n, code, out, err);
  }
  if (cmd == "tree" && rest.size() == 2) {
    int n = 0;
    if (!parse_int(rest[1], n)) throw UsageError{"tree takes a dossier number"};
    return cmd_tree(s, n, grouping, index, code, out, err);
  }
  if (cmd == "planning" && rest.size() == 2) {
    int n = 0;
    if (!parse_int(rest[1], n)) throw UsageError{"planning takes a dossier number"};
    return cmd_planning(s, n, code, out, err);
  }
  if (cmd == "loans" && rest.size() == 2) {
    int n = 0;
    if (!parse_int(rest[1], n)) throw UsageError{"loans takes a dossier number"};
    if (borrowed && ical) throw UsageError{"--ical writes the loans and the borrowings together"};
    return cmd_loans(s, n, borrowed, ical, code, out, err);
  }
  if (cmd == "print" && rest.size() == 3) {
    int n = 0;
    if (!parse_int(rest[2], n)) throw UsageError{"print takes a report and a dossier number"};
    return cmd_print(s, rest[1], n, printing, code, out, err);
  }
  if (cmd == "search" && rest.size() == 3) {
    int n = 0;
    if (!parse_int(rest[1], n)) throw UsageError{"search takes a dossier number and a query file"};
    return cmd_search(s, n, rest[2], code, out, err);
  }
  if (cmd == "query" && (add ? rest.size() == 5 || rest.size() == 6 : rest.size() == 2)) {
    const std::vector<std::string> ajout(rest.begin() + 2, rest.end());
    return cmd_query(rest[1], add ? &ajout : nullptr, out, err);
  }
  if (cmd == "stats" && rest.size() == 2) {
    int n = 0;
    if (!parse_int(rest[1], n)) throw UsageError{"stats takes a dossier number"};
    return cmd_stats(s, n, chart, code, out, err);
  }
  if (cmd == "delete-dossier" || cmd == "delete-support" || cmd == "delete-recording") {
    const std::size_t wanted = cmd == "delete-dossier" ? 2 : 3;
    int n = 0, record = 0;
    if (rest.size() != wanted || !parse_int(rest[1], n) || (wanted == 3 && !parse_int(rest[2], record)))
      throw UsageError{cmd + " takes a dossier number" + (wanted == 3 ? " and a record number" : "")};
    return cmd_delete(s, cmd, n, record, code, err);
  }
  if (cmd == "rename-value" && rest.size() == 4) {
    int kind = 0;
    if (!parse_int(rest[1], kind) || kind < 1 || kind > 12)
      throw UsageError{"rename-value takes a list from 1 to 12"};
    store::Remplace_valeur(s, kind, store::utf8_to_cp1252(rest[2]), store::utf8_to_cp1252(rest[3]));
    return 0;
  }
  throw UsageError{"unknown command or arguments: " + cmd};
}

}  // namespace

int run(const std::vector<std::string> &args, std::ostream &out, std::ostream &err) {
  // The whole output is built first: a command that fails part-way prints nothing of it.
  std::ostringstream built;
  try {
    int status = dispatch(args, built, err);
    out << built.str();
    return status;
  } catch (const UsageError &e) {
    err << "tapemoor-cli: " << e.why << '\n' << kUsage;
    return 2;
  } catch (const store::StoreError &e) {
    err << "tapemoor-cli: " << e.what() << '\n';
    return 1;
  }
}

}  // namespace cli
