// The words of hospital items and of the national lists: abbreviations of pharmacies, supply
// rooms and laboratories, the spelling the lists use, units, dosage forms and salts. Every entry
// is written as the analysis sees a text: upper case, plurals without their "S".
#include "Lexicon.h"

#include <algorithm>
#include <sstream>

namespace suggest::lexicon {

namespace {

// Pieces written as one ("D5LR") and what they say.
const char* const pieceTable[][2] = {
    {"PNSS", "SODIUM CHLORIDE 0.9 %"},
    {"NSS", "SODIUM CHLORIDE 0.9 %"},
    {"PNS", "SODIUM CHLORIDE 0.9 %"},
    {"D5LR", "DEXTROSE 5 % LACTATED RINGER"},
    {"D5LRS", "DEXTROSE 5 % LACTATED RINGER"},
    {"LR", "LACTATED RINGER"},
    {"LRS", "LACTATED RINGER"},
    {"PLR", "LACTATED RINGER"},
    {"D5W", "DEXTROSE 5 % WATER"},
    {"D10W", "DEXTROSE 10 % WATER"},
    {"D50W", "DEXTROSE 50 % WATER"},
    {"D5NSS", "DEXTROSE 5 % SODIUM CHLORIDE 0.9 %"},
    {"D5NS", "DEXTROSE 5 % SODIUM CHLORIDE 0.9 %"},
    {"D5NM", "DEXTROSE 5 % NORMOSOL M"},
    {"D5IMB", "DEXTROSE 5 % IMB"},
    {"D5", "DEXTROSE 5 %"},
    {"D10", "DEXTROSE 10 %"},
    {"D50", "DEXTROSE 50 %"},
    {"KCL", "POTASSIUM CHLORIDE"},
    {"HCTZ", "HYDROCHLOROTHIAZIDE"},
    {"NACL", "SODIUM CHLORIDE"},
    {"MGSO4", "MAGNESIUM SULFATE"},
    {"NAHCO3", "SODIUM BICARBONATE"},
    {"FESO4", "FERROUS SULFATE"},
    {"CACO3", "CALCIUM CARBONATE"},
    {"CAGLUC", "CALCIUM GLUCONATE"},
    {"HGBA1C", "HBA1C"},
    {"A1C", "HBA1C"},
    {"CXR", "CHEST XRAY"},
    {"2DECHO", "2D ECHO"},
    {"ORS", "ORAL REHYDRATION SALT"},
    {"AMOXICLAV", "AMOXICILLIN CLAVULANIC ACID"},
    {"COAMOXICLAV", "AMOXICILLIN CLAVULANIC ACID"},
    {"COTRIMOXAZOLE", "SULFAMETHOXAZOLE TRIMETHOPRIM"},
    {"CLAVULANATE", "CLAVULANIC ACID"},
    {"OPTHALMIC", "OPHTHALMIC"},
    {"B1B2", "BILIRUBIN DIRECT INDIRECT"},
    {"TPAG", "TOTAL PROTEIN ALBUMIN GLOBULIN"},
};

// Units: the dimension and the factor to mg, mL, %, IU, mEq, mmol or cm.
struct UnitEntry {
    const char* name;
    Quantity::Dimension dimension;
    double factor;
};
const UnitEntry unitTable[] = {
    {"MG", Quantity::Mass, 1},         {"G", Quantity::Mass, 1000},
    {"GM", Quantity::Mass, 1000},      {"GR", Quantity::Mass, 1000},
    {"GRAM", Quantity::Mass, 1000},    {"MCG", Quantity::Mass, 0.001},
    {"UG", Quantity::Mass, 0.001},     {"MICROGRAM", Quantity::Mass, 0.001},
    {"KG", Quantity::Mass, 1e6},       {"ML", Quantity::Volume, 1},
    {"CC", Quantity::Volume, 1},       {"L", Quantity::Volume, 1000},
    {"LITER", Quantity::Volume, 1000}, {"LITRE", Quantity::Volume, 1000},
    {"LTR", Quantity::Volume, 1000},   {"%", Quantity::Percent, 1},
    {"IU", Quantity::Units, 1},        {"U", Quantity::Units, 1},
    {"UNIT", Quantity::Units, 1},      {"MIU", Quantity::Units, 1e6},
    {"MEQ", Quantity::Equivalents, 1}, {"MMOL", Quantity::Moles, 1},
    {"CM", Quantity::Length, 1},       {"MM", Quantity::Length, 0.1},
    {"INCH", Quantity::Length, 2.54},  {"IN", Quantity::Length, 2.54},
};

const char* const sizePrefixTable[][2] = {
    {"G", "GAUGE"}, {"GA", "GAUGE"}, {"GAUGE", "GAUGE"}, {"FR", "FR"},
    {"NO", "SIZE"}, {"SZ", "SIZE"},  {"SIZE", "SIZE"},
};

const char* const droppedTable[] = {
    "AS", "W", "WITH", "AND",  "OF",  "FOR", "THE", "IN",    "BY",   "TO",  "A",    "AN",  "ON",
    "AT", "S", "FROM", "ONLY", "PER", "IS",  "ETC", "OTHER", "USED", "USE", "INTO", "OUT", "NA_",
};

// Runs of words and what they become. The words on the left are as the analysis sees them
// after the dropped words are gone ("KIDNEYS, URETERS AND BLADDER" is "KIDNEY URETER BLADDER").
const char* const phraseTable[][2] = {
    // Haematology, chemistry, serology
    {"COMPLETE BLOOD COUNT", "CBC"},
    {"COMPLETE BLOOD CELL COUNT", "CBC"},
    {"HEMOGRAM", "CBC"},
    {"PLT CT", "PLATELET COUNT"},
    {"PLT", "PLATELET"},
    {"PLATELET CT", "PLATELET COUNT"},
    {"FASTING BLOOD SUGAR", "FBS"},
    {"FASTING BLOOD GLUCOSE", "FBS"},
    {"FASTING PLASMA GLUCOSE", "FBS"},
    {"GLUCOSE FASTING", "FBS"},
    {"FPG", "FBS"},
    {"RANDOM BLOOD SUGAR", "RBS"},
    {"RANDOM BLOOD GLUCOSE", "RBS"},
    {"RANDOM PLASMA GLUCOSE", "RBS"},
    {"GLUCOSE RANDOM", "RBS"},
    {"BLOOD UREA NITROGEN", "BUN"},
    {"UREA NITROGEN", "BUN"},
    {"CREA", "CREATININE"},
    {"CREAT", "CREATININE"},
    {"SGPT", "ALT"},
    {"ALANINE AMINOTRANSFERASE", "ALT"},
    {"ALANINE TRANSAMINASE", "ALT"},
    {"SGOT", "AST"},
    {"ASPARTATE AMINOTRANSFERASE", "AST"},
    {"ASPARTATE TRANSAMINASE", "AST"},
    {"GLYCOSYLATED HEMOGLOBIN", "HBA1C"},
    {"GLYCATED HEMOGLOBIN", "HBA1C"},
    {"HEMOGLOBIN A1C", "HBA1C"},
    {"HB A1C", "HBA1C"},
    {"HGB", "HEMOGLOBIN"},
    {"HB", "HEMOGLOBIN"},
    {"HAEMOGLOBIN", "HEMOGLOBIN"},
    {"HCT", "HEMATOCRIT"},
    {"HAEMATOCRIT", "HEMATOCRIT"},
    {"H H", "HEMOGLOBIN HEMATOCRIT"},
    {"WHITE BLOOD CELL", "WBC"},
    {"RED BLOOD CELL", "RBC"},
    {"ERYTHROCYTE SEDIMENTATION RATE", "ESR"},
    {"C REACTIVE PROTEIN", "CRP"},
    {"PROTHROMBIN TIME", "PT"},
    {"PROTIME", "PT"},
    {"ACTIVATED PARTIAL THROMBOPLASTIN TIME", "APTT"},
    {"PARTIAL THROMBOPLASTIN TIME", "APTT"},
    {"PTT", "APTT"},
    {"BLEEDING TIME", "BT"},
    {"THYROID STIMULATING HORMONE", "TSH"},
    {"FREE T4", "FT4"},
    {"FREE THYROXINE", "FT4"},
    {"FREE T3", "FT3"},
    {"FREE TRIIODOTHYRONINE", "FT3"},
    {"TRIIODOTHYRONINE", "T3"},
    {"THYROXINE", "T4"},
    {"HEPATITIS B SURFACE ANTIGEN", "HBSAG"},
    {"HEPA", "HEPATITIS"},
    {"ARTERIAL BLOOD GAS", "ABG"},
    {"ORAL GLUCOSE TOLERANCE TEST", "OGTT"},
    {"GLUCOSE TOLERANCE TEST", "OGTT"},
    {"TRIG", "TRIGLYCERIDE"},
    {"TG", "TRIGLYCERIDE"},
    {"CHOLE", "CHOLESTEROL"},
    {"CHOL", "CHOLESTEROL"},
    {"HIGH DENSITY LIPOPROTEIN", "HDL"},
    {"LOW DENSITY LIPOPROTEIN", "LDL"},
    {"VERY LOW DENSITY LIPOPROTEIN", "VLDL"},
    {"BUA", "URIC ACID"},
    {"BLOOD URIC ACID", "URIC ACID"},
    {"NA", "SODIUM"},
    {"K", "POTASSIUM"},
    {"CL", "CHLORIDE"},
    {"CA", "CALCIUM"},
    {"MG", "MAGNESIUM"},
    {"ABO", "BLOOD TYPING"},
    {"BLOOD TYPE", "BLOOD TYPING"},
    {"BLOOD GROUPING", "BLOOD TYPING"},
    {"ACID FAST BACILLI", "AFB"},
    {"ACID FAST", "AFB"},
    {"GS", "GRAM STAIN"},
    {"CULTURE SENSITIVITY", "CULTURE SENSITIVITY"},
    {"CS", "CULTURE SENSITIVITY"},
    {"C S", "CULTURE SENSITIVITY"},
    {"UA", "URINALYSIS"},
    {"U A", "URINALYSIS"},
    {"URINE ANALYSI", "URINALYSIS"},
    {"FA", "FECALYSIS"},
    {"STOOL EXAMINATION", "FECALYSIS"},
    {"STOOL EXAM", "FECALYSIS"},
    {"ROUTINE STOOL", "FECALYSIS"},
    {"STOOL ROUTINE", "FECALYSIS"},
    {"FECAL OCCULT BLOOD", "FOBT"},
    {"OCCULT BLOOD", "FOBT"},
    {"ALKALINE PHOSPHATASE", "ALP"},
    {"ALK PHOS", "ALP"},
    {"ALKPHOS", "ALP"},
    {"CREATINE KINASE MB", "CKMB"},
    {"CK MB", "CKMB"},
    {"CPK MB", "CKMB"},
    {"CREATINE PHOSPHOKINASE", "CPK"},
    {"CREATINE KINASE", "CPK"},
    {"CK", "CPK"},
    {"LACTATE DEHYDROGENASE", "LDH"},
    {"GAMMA GLUTAMYL TRANSFERASE", "GGT"},
    {"PROSTATE SPECIFIC ANTIGEN", "PSA"},
    {"BETA HCG", "BHCG"},
    {"PREGNANCY TEST", "PREGNANCY TEST"},
    {"H PYLORI", "HELICOBACTER PYLORI"},
    {"AB", "ANTIBODY"},
    {"AG", "ANTIGEN"},
    // Heart station, imaging
    {"EKG", "ECG"},
    {"ELECTROCARDIOGRAM", "ECG"},
    {"ELECTROCARDIOGRAPHY", "ECG"},
    {"ECHOCARDIOGRAM", "ECHO"},
    {"ECHOCARDIOGRAPHY", "ECHO"},
    {"X RAY", "XRAY"},
    {"X", ""},
    {"RADIOGRAPH", "XRAY"},
    {"RADIOGRAPHY", "XRAY"},
    {"XR", "XRAY"},
    {"KIDNEY URETER BLADDER", "KUB"},
    {"KIDNEY URETER URINARY BLADDER", "KUB"},
    {"UTZ", "ULTRASOUND"},
    {"US", "ULTRASOUND"},
    {"SONO", "ULTRASOUND"},
    {"SONOGRAPHY", "ULTRASOUND"},
    {"ULTRASONOGRAPHY", "ULTRASOUND"},
    {"ULTRASONOGRAM", "ULTRASOUND"},
    {"COMPUTED TOMOGRAPHY", "CT"},
    {"COMPUTERIZED TOMOGRAPHY", "CT"},
    {"COMPUTERISED TOMOGRAPHY", "CT"},
    {"CAT", "CT"},
    {"MAGNETIC RESONANCE IMAGING", "MRI"},
    {"OBSTETRIC", "OB"},
    {"OBSTETRICAL", "OB"},
    {"TRANSVAGINAL", "TVS"},
    {"BIOPHYSICAL PROFILE", "BPS"},
    {"BPP", "BPS"},
    {"WA", "WHOLE ABDOMEN"},
    {"ABD", "ABDOMEN"},
    {"ABDOMINAL", "ABDOMEN"},
    {"HEPATOBILIARY TREE", "HBT"},
    {"HEPATOBILIARY", "HBT"},
    {"LAT", "LATERAL"},
    {"ANTEROPOSTERIOR", "AP"},
    {"POSTEROANTERIOR", "PA"},
    {"C SPINE", "CERVICAL SPINE"},
    {"L SPINE", "LUMBAR SPINE"},
    {"T SPINE", "THORACIC SPINE"},
    {"LS", "LUMBOSACRAL"},
    {"LUMBO SACRAL", "LUMBOSACRAL"},
    {"WITHOUT CONTRAST", "PLAIN"},
    {"NON CONTRAST", "PLAIN"},
    {"NONCONTRAST", "PLAIN"},
    {"UNENHANCED", "PLAIN"},
    {"CONTRAST ENHANCED", "CONTRAST"},
    {"W O", "WITHOUT"},
    {"PARANASAL SINUS", "PNS"},
    {"PARANASAL SINUSE", "PNS"},
    {"SARS COV 2", "COVID"},
    {"COVID 19", "COVID"},
    {"CT BT", "CLOTTING TIME BT"},
    {"BILI", "BILIRUBIN"},
    {"CARDIOPULMONARY RESUSCITATION", "CPR"},
    {"INCISION DRAINAGE", "ID"},
    {"AMBULATORY BLOOD PRESSURE MONITORING", "ABPM"},
    // Rooms and services
    {"EMERGENCY ROOM", "ER"},
    {"EMERGENCY DEPARTMENT", "ER"},
    {"ED", "ER"},
    {"EMERGENCY", "ER"},
    {"OPERATING ROOM", "OR"},
    {"DELIVERY ROOM", "DR"},
    {"INTENSIVE CARE UNIT", "ICU"},
    {"PHYSICAL THERAPY", "PHYSIOTHERAPY"},
    {"PHYSICAL THERAPY SESSION", "PHYSIOTHERAPY"},
    {"NEBULISATION", "NEBULIZATION"},
    // Medicines
    {"ACETAMINOPHEN", "PARACETAMOL"},
    {"PCM", "PARACETAMOL"},
    {"ALBUTEROL", "SALBUTAMOL"},
    {"ADRENALINE", "EPINEPHRINE"},
    {"NORADRENALINE", "NOREPINEPHRINE"},
    {"FRUSEMIDE", "FUROSEMIDE"},
    {"LIGNOCAINE", "LIDOCAINE"},
    {"CEPHALEXIN", "CEFALEXIN"},
    {"AMOXYCILLIN", "AMOXICILLIN"},
    {"ACETYLSALICYLIC ACID", "ASPIRIN"},
    {"ASA", "ASPIRIN"},
    {"CO AMOXICLAV", "AMOXICILLIN CLAVULANIC ACID"},
    {"CO AMOXICILLIN CLAVULANIC ACID", "AMOXICILLIN CLAVULANIC ACID"},
    {"CO TRIMOXAZOLE", "SULFAMETHOXAZOLE TRIMETHOPRIM"},
    {"SULPHATE", "SULFATE"},
    {"SULPHAMETHOXAZOLE", "SULFAMETHOXAZOLE"},
    {"ALUMINIUM", "ALUMINUM"},
    {"VIT", "VITAMIN"},
    {"VITAMIN A", "RETINOL"},
    {"VITAMIN B1", "THIAMINE"},
    {"VITAMIN B6", "PYRIDOXINE"},
    {"VITAMIN B12", "CYANOCOBALAMIN"},
    {"VITAMIN C", "ASCORBIC ACID"},
    {"VITAMIN D3", "CHOLECALCIFEROL"},
    {"D3", "CHOLECALCIFEROL"},
    {"VITAMIN E", "TOCOPHEROL"},
    {"VITAMIN K", "PHYTOMENADIONE"},
    {"VITAMIN K1", "PHYTOMENADIONE"},
    {"PHYTONADIONE", "PHYTOMENADIONE"},
    // Modified release, as pharmacies abbreviate it.
    {"EXTENDED RELEASE", "RELEASE"},
    {"SUSTAINED RELEASE", "RELEASE"},
    {"PROLONGED RELEASE", "RELEASE"},
    {"CONTROLLED RELEASE", "RELEASE"},
    {"MODIFIED RELEASE", "RELEASE"},
    {"DELAYED RELEASE", "RELEASE"},
    {"SLOW RELEASE", "RELEASE"},
    {"VIT B COMPLEX", "VITAMIN B COMPLEX"},
    {"MULTIVIT", "MULTIVITAMIN"},
    {"MULTIVITAMIN", "MULTIVITAMIN"},
    {"ORAL REHYDRATION SALT", "ORAL REHYDRATION SALT"},
    {"HYOSCINE N BUTYLBROMIDE", "HYOSCINE BUTYLBROMIDE"},
    {"NEBULE", "NEBULE"},
    // Supplies
    {"PEDIA", "PEDIATRIC"},
    {"PAEDIATRIC", "PEDIATRIC"},
    {"PEDIATRICS", "PEDIATRIC"},
    {"PED", "PEDIATRIC"},
    {"NEB KIT", "NEBULIZER KIT"},
    {"NEBULISER", "NEBULIZER"},
    {"DISPO", "DISPOSABLE"},
    {"DISP", "DISPOSABLE"},
    {"CATH", "CATHETER"},
    {"IV CATHETER", "IV CANNULA"},
    {"IV CATH", "IV CANNULA"},
    {"INTRAVENOUS CATHETER", "IV CANNULA"},
    {"INTRAVENOUS CANNULA", "IV CANNULA"},
    {"NGT", "NASOGASTRIC TUBE"},
    {"NG TUBE", "NASOGASTRIC TUBE"},
    {"ETT", "ENDOTRACHEAL TUBE"},
    {"ET TUBE", "ENDOTRACHEAL TUBE"},
    {"SURG", "SURGICAL"},
    {"GLOVE STERILE", "STERILE GLOVE"},
    {"EXAM GLOVE", "EXAMINATION GLOVE"},
    {"MICROPORE", "SURGICAL TAPE"},
    {"HYPO", "HYPODERMIC"},
    {"OXYGEN CANNULA", "NASAL CANNULA"},
    {"O2", "OXYGEN"},
    {"GAUZE PAD", "GAUZE"},
    {"TUBERCULIN SYRINGE", "SYRINGE 1 ML"},
    {"INSULIN SYRINGE", "INSULIN SYRINGE"},
    // Brands of supplies that stand for the supply
    {"VICRYL", "ABSORBABLE SUTURE POLYGLACTIN"},
    {"DEXON", "ABSORBABLE SUTURE POLYGLYCOLIC ACID"},
    {"MONOCRYL", "ABSORBABLE SUTURE POLIGLECAPRONE"},
    {"PROLENE", "NONABSORBABLE SUTURE POLYPROPYLENE"},
    {"ETHILON", "NONABSORBABLE SUTURE NYLON"},
    {"DERMALON", "NONABSORBABLE SUTURE NYLON"},
    {"NON ABSORBABLE", "NONABSORBABLE"},
    {"TEGADERM", "TRANSPARENT FILM DRESSING"},
    {"OPSITE", "TRANSPARENT FILM DRESSING"},
    {"TRANSPORE", "SURGICAL TAPE TRANSPARENT"},
    {"VENFLON", "IV CANNULA"},
    {"JELCO", "IV CANNULA"},
    {"ABBOCATH", "IV CANNULA"},
    {"WEBRIL", "CAST PADDING"},
    {"POP", "PLASTER PARIS"},
    {"SOLUSET", "IV ADMINISTRATION SET BURETTE"},
    {"BURETROL", "IV ADMINISTRATION SET BURETTE"},
    {"AMBU BAG", "MANUAL RESUSCITATOR"},
    {"HEPLOCK", "INJECTION PLUG HEPARIN LOCK"},
    {"GLUCOSTRIP", "BLOOD GLUCOSE TEST STRIP"},
    {"DEXTROSTIX", "BLOOD GLUCOSE TEST STRIP"},
};

// Dosage forms.
const std::pair<const char*, std::uint32_t> formTable[] = {
    {"TAB", form::Tablet},
    {"TABLET", form::Tablet},
    {"CAPLET", form::Tablet},
    {"FCT", form::Tablet},
    {"CAP", form::Capsule},
    {"CAPSULE", form::Capsule},
    {"INJ", form::Injection},
    {"INJECTION", form::Injection},
    {"INJECTABLE", form::Injection},
    {"AMP", form::Ampule},
    {"AMPULE", form::Ampule},
    {"AMPOULE", form::Ampule},
    {"AMPUL", form::Ampule},
    {"VL", form::Vial},
    {"VIAL", form::Vial},
    {"SYRUP", form::Syrup},
    {"SUSP", form::Suspension},
    {"SUSPENSION", form::Suspension},
    {"DROP", form::Drops},
    {"DRP", form::Drops},
    {"GTT", form::Drops},
    {"SOLN", form::Solution},
    {"SOL", form::Solution},
    {"SOLUTION", form::Solution},
    {"NEB", form::Nebule},
    {"NEBULE", form::Nebule},
    {"RESPULE", form::Nebule},
    {"NEBULIZER", form::Nebule},
    {"NEBULISER", form::Nebule},
    {"INHALER", form::Inhaler},
    {"MDI", form::Inhaler},
    {"EVOHALER", form::Inhaler},
    {"ACCUHALER", form::Inhaler},
    {"TURBUHALER", form::Inhaler},
    {"DPI", form::Inhaler},
    {"CRM", form::Cream},
    {"CREAM", form::Cream},
    {"OINT", form::Ointment},
    {"OINTMENT", form::Ointment},
    {"ONT", form::Ointment},
    {"GEL", form::Gel},
    {"LOTION", form::Lotion},
    {"SUPP", form::Suppository},
    {"SUPPOSITORY", form::Suppository},
    {"PWD", form::Powder},
    {"PDR", form::Powder},
    {"POWDER", form::Powder},
    {"SACH", form::Sachet},
    {"SACHET", form::Sachet},
    {"GRAN", form::Granules},
    {"GRANULE", form::Granules},
    {"SPRAY", form::Spray},
    {"PATCH", form::Patch},
    {"LOZ", form::Lozenge},
    {"LOZENGE", form::Lozenge},
    {"ELIX", form::Elixir},
    {"ELIXIR", form::Elixir},
    {"INFUSION", form::Infusion},
    {"IVF", form::Infusion},
};

const char* const saltTable[] = {
    "SODIUM",      "POTASSIUM",     "HYDROCHLORIDE", "HCL",       "HYDROBROMIDE", "HBR",
    "SULFATE",     "MALEATE",       "MESYLATE",      "MESILATE",  "BESYLATE",     "BESILATE",
    "CITRATE",     "TARTRATE",      "TRIHYDRATE",    "DIHYDRATE", "MONOHYDRATE",  "HYDRATE",
    "ANHYDROUS",   "ACETATE",       "SUCCINATE",     "FUMARATE",  "PHOSPHATE",    "DIPROPIONATE",
    "PROPIONATE",  "VALERATE",      "BROMIDE",       "DISODIUM",  "TROMETAMOL",   "TROMETHAMINE",
    "HEMIHYDRATE", "SESQUIHYDRATE", "ARGININE",      "LYSINE",    "MAGNESIUM",    "CALCIUM",
    "ZINC",
};

const char* const weakTable[] = {
    "BOX",
    "BOTTLE",
    "BOT",
    "BTL",
    "PACK",
    "PC",
    "PCS",
    "PIECE",
    "STRIP",
    "BLISTER",
    "SET",
    "USP",
    "BP",
    "FILM",
    "COATED",
    "FC",
    "FEE",
    "VIEW",
    "SCAN",
    "EXAM",
    "EXAMINATION",
    "TEST",
    "ROUTINE",
    "SIZE",
    "REGULAR",
    "GENERIC",
    "BRANDED",
    "SINGLE",
    "DOSE",
    "PROCEDURE",
    "SERVICE",
    "CHARGE",
    "EACH",
    "CO",
    "PLUS",
    "LEVEL",
    "SERUM",
    "BLOOD",
    "TOTAL",
    "DETERMINATION",
    "ASSAY",
    "PROFILE",
    "PORTABLE",
    "UNIT",
    "HOUR",
    "DAY",
    "PER",
    "TUBE",
    "MEASUREMENT",
    "REUSABLE",
    "DISPOSABLE",
    "BAG",
    "BOTTLED",
    "CONTAINER",
    // How a tablet or capsule releases its drug, or what it is made of.
    "RELEASE",
    "ENTERIC",
    "CHEWABLE",
    "SOFT",
    "GELATIN",
    "DISPERSIBLE",
    "EFFERVESCENT",
    "ORALLY",
    "DISINTEGRATING",
    "PREFILLED",
};

const char* const routeTable[] = {
    "ORAL",          "PO",          "IM",      "IV",         "SC",         "SQ",     "SUBCUTANEOUS",
    "INTRAMUSCULAR", "INTRAVENOUS", "TOPICAL", "OPHTHALMIC", "OTIC",       "NASAL",  "RECTAL",
    "VAGINAL",       "INHALATION",  "EYE",     "EAR",        "SUBLINGUAL", "BUCCAL", "TRANSDERMAL",
    "EXTERNAL",      "CUTANEOUS",
};

std::vector<std::string> words(const char* text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    std::string word;
    while (in >> word) {
        stem(word);
        out.push_back(word);
    }
    return out;
}

Lexicon build() {
    Lexicon l;
    for (const auto& p : pieceTable)
        l.pieces.emplace(p[0], p[1]);
    for (const UnitEntry& u : unitTable)
        l.units.emplace(u.name, Lexicon::Unit{u.dimension, u.factor});
    for (const auto& p : sizePrefixTable)
        l.sizePrefixes.emplace(p[0], p[1]);
    for (const char* word : droppedTable)
        l.dropped.emplace(word, true);
    for (const auto& p : phraseTable) {
        Lexicon::Phrase phrase{words(p[0]), words(p[1])};
        l.phrases[phrase.from.front()].push_back(std::move(phrase));
    }
    // A brand is its generic names.
    for (int i = 0; i < brandCount; ++i) {
        Lexicon::Phrase phrase{words(brandTable[i][0]), words(brandTable[i][1]), true};
        if (!phrase.from.empty())
            l.phrases[phrase.from.front()].push_back(std::move(phrase));
    }
    for (auto& [first, list] : l.phrases)
        std::stable_sort(list.begin(), list.end(), [](const auto& a, const auto& b) {
            return a.from.size() > b.from.size();
        });
    for (const auto& [word, bits] : formTable)
        l.forms.emplace(word, bits);
    for (const char* word : saltTable)
        l.kinds.emplace(word, WordKind::Salt);
    for (const char* word : weakTable)
        l.kinds.emplace(word, WordKind::Weak);
    for (const char* word : routeTable)
        l.kinds.emplace(word, WordKind::Route);
    return l;
}

} // namespace

void stem(std::string& word) {
    const size_t n = word.size();
    if (n >= 4 && word[n - 1] == 'S' && word[n - 2] != 'S' && word[n - 2] != 'U' &&
        word[n - 2] != 'I')
        word.pop_back();
}

const Lexicon& get() {
    static const Lexicon lexicon = build();
    return lexicon;
}

} // namespace suggest::lexicon

namespace suggest::form {

std::uint32_t families(std::uint32_t forms) {
    // Oral solids, parenteral, oral liquids, drops, inhalation, topical, oral powders, rectal,
    // and the rest, each form in the families it serves.
    enum : std::uint32_t {
        OralSolid = 1,
        Parenteral = 2,
        OralLiquid = 4,
        DropFamily = 8,
        Inhalation = 16,
        Topical = 32,
        OralPowder = 64,
        Other = 128
    };
    std::uint32_t f = 0;
    if (forms & (Tablet | Capsule | Lozenge))
        f |= OralSolid;
    if (forms & (Injection | Ampule | Vial | Infusion | Solution | Powder))
        f |= Parenteral;
    if (forms & (Syrup | Suspension | Elixir | Solution))
        f |= OralLiquid;
    if (forms & Drops)
        f |= DropFamily;
    if (forms & (Nebule | Inhaler))
        f |= Inhalation;
    if (forms & (Cream | Ointment | Gel | Lotion))
        f |= Topical;
    if (forms & (Powder | Sachet | Granules))
        f |= OralPowder;
    if (forms & (Suppository | Spray | Patch))
        f |= Other;
    return f;
}

} // namespace suggest::form
