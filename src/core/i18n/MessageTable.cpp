#include "i18n/MessageTable.h"

namespace vem {
namespace {

// Built-in texts of the slots from 26 on, Windows-1252.
const std::vector<std::string>& builtInTexts() {
    static const std::vector<std::string> texts = {
        "Die Projektdatei konnte nicht gespeichert werden.",
        "Die Bilddatei konnte nicht geschrieben werden.",
        "Die Projektdatei konnte nicht gelesen werden.",
        "Zellen mit einem Komma wurden durch ein Leerzeichen ersetzt, "
        "da die Projektdatei kein Komma speichern kann.",
        "Haltezeiten: bitte Werte von 0 bis 255 Sekunden eingeben.",
        "Die Schnittstelle kann nicht ge\xF6""ffnet werden.",
        "Sie ist nicht vorhanden.",
        "Sie wird von einem anderen Programm benutzt.",
        "Keine Berechtigung: unter Linux muss der Benutzer zur Gruppe dialout geh\xF6ren "
        "(sudo usermod -aG dialout $USER, danach neu anmelden).",
        "Sie kann die eingestellten Daten\xFC""bertragungsparameter nicht.",
        "Die Verbindung zum Ger\xE4t ist abgebrochen.",
        "Schnittstelle %1, %2, Schritt %3 von %4",
        "Programmieren",
        "Aus QV einlesen",
        "QV - Info",
        "Datum/Uhrzeit setzen",
        "Zeichensatz laden",
        "Firmware",
        "Videosignal",
        "Set AVR-Fuses",
        "Die \xDC""bertragung ist unvollst\xE4ndig: bitte wiederholen, bevor das Ger\xE4t benutzt wird.",
        "Diese Datei ist kein Zeichensatz: er muss genau 3584 Bytes lang sein.",
        "Diese Datei ist keine Firmware: sie muss 1 bis 32767 Bytes lang sein.",
        "Das Projekt wurde ge\xE4ndert. \xC4nderungen speichern?",
        "&Speichern",
        "&Verwerfen",
        "&Abbrechen",
        "Die Pr\xFC""fung nach dem Programmieren fand einen Unterschied: das Ger\xE4t h\xE4lt nicht, was gesendet wurde.",
        "Bereich %1, Offset %2: erwartet %3, gelesen %4",
        "Sie ist keine serielle Schnittstelle.",
        "Einstellungen",
        "&Schnittstelle",
        " Format ",
        "&Baudrate",
        "&Datenbit",
        "&Parit\xE4tsbit",
        "St&oppbits",
        " Handshake ",
        "RTS/CTS-Handshake",
        "D&TR/DSR-Handshake",
        "&XOn/XOff-Protokoll",
        " \xDC""bertragungspuffer ",
        "&Empfangspuffer",
        "Se&ndepuffer",
        "&Abbrechen",
        "&Ok",
        "Nicht gefunden: %1",
        "Kein Ger\xE4t: %1",
        "Keine serielle Schnittstelle: %1",
        "Bitte eine Schnittstelle w\xE4hlen",
        "Entfernt: %1",
        "Keine Schnittstelle - Ok \xE4ndert nichts",
        "Dieses System kann nicht: %1",
        "Das eingelesene Abbild tr\xE4gt nicht die Kennung der Abbilder, die dieses Programm erstellt. "
        "Trotzdem als Projekt \xFC""bernehmen?",
        "\xDC""&bernehmen",
        "Es kamen mehr Bytes als ein Block: St\xF6rungen auf der Leitung oder ein anderes Ger\xE4t. "
        "Nichts davon wurde \xFC""bernommen.",
        "Das Ger\xE4t enth\xE4lt kein Projekt, das VEM geschrieben hat: die Kennung fehlt.",
        "Das Ger\xE4t enth\xE4lt jetzt ein unvollst\xE4ndiges Abbild; bitte erneut programmieren.",
        "Unterbrochen.",
        "Diese Datei ist kein Projekt und wurde nicht ge\xF6""ffnet:",
        "Das Projekt enth\xE4lt Werte, die das Ger\xE4t nicht halten oder zeigen kann. Trotzdem \xF6""ffnen?",
        "\xD6""&ffnen",
        "Die Bilddatei des Projekts ist nicht lesbar; ohne sie kann nicht programmiert werden.",
        "Programmieren nicht m\xF6glich: die Bilddatei des Projekts ist nicht geladen.",
        "Diese Datei gibt es schon. Ersetzen?",
        "&Ersetzen",
        "der Datentr\xE4""ger ist voll",
        "keine Berechtigung",
        "das ist ein Ordner",
        "der Name ist zu lang",
        "die Datei ist belegt",
        "die Datei ist schreibgesch\xFC""tzt",
        "das ist keine gew\xF6""hnliche Datei (Ger\xE4""t, FIFO oder Socket)",
        "der Ordner existiert nicht",
        "die Verkn\xFC""pfungen bilden eine Schleife",
        "das Dateisystem ist schreibgesch\xFC""tzt",
        "das System meldet einen Schreibfehler",
        "Diese Datei ist schreibgesch\xFC""tzt. Trotzdem ersetzen?",
        "&Speichern",
        "&Bearbeiten",
        "&R\xFC""ckg\xE4ngig",
        "&Wiederherstellen",
        "Dieses Projekt gibt es nicht mehr; es wurde aus der Liste entfernt:",
        "L\xE4nge h\xF6""chstens %1",
        "L\xE4nge h\xF6""chstens %1: an dieser Stelle ist nicht mehr Platz.",
        "Leerzeichen: max. Anzahl h\xF6""chstens %1",
        "Programmiert und gepr\xFC""ft",
        "Aus QV eingelesen",
        "Datum/Uhrzeit gesetzt",
        "Zeichensatz geladen",
        "Firmware geladen",
        "Videosignal gesendet",
        "AVR-Fuses gesendet",
        "Pr\xFC""fung nach dem Programmieren",
        "de",
        "Unbenannt",
        "Programmieren nicht m\xF6""glich: das Projekt enth\xE4""lt Werte, die das Ger\xE4""t nicht halten oder zeigen kann.",
        "(kein Projekt von VEM)",
        "die Verkn\xFC""pfung geh\xF6rt einem anderen Benutzer in einem gemeinsamen Ordner",
        "ein Projekt liest diese Datei als seine Bilddatei",
        "die erste Zeile des Projekts f\xE4nde ihre Bilddatei nicht",
        "Die Ausgabe konnte nicht geschrieben werden: %1",
        "unterbrochen bei Schritt %1 von %2",
        "unterbrochen zwischen zwei Vorg\xE4ngen",
        "unterbrochen nach Schritt %1 von %2: der Vorgang war abgeschlossen",
        "%1: nicht vorhanden",
        "%1: ist ein Ordner",
        "%1: ist ein FIFO",
        "%1: ist keine gew\xF6hnliche Datei",
        "%1: ist gr\xF6\xDF""er als %2 Bytes",
        "%1: hat %2 Bytes, erwartet %3",
        "%1: nicht lesbar",
        "Projektdatei %1",
        "Bilddatei %1",
        "die Projektdatei hat %1 Zeilen, erwartet %2",
        "die Projektdatei enth\xE4lt Bin\xE4rdaten (ein Null-Byte in Zeile %1)",
        "Zeile 1 nennt keine Bilddatei",
        "Zeile 1 enth\xE4lt Steuerzeichen, keinen Dateinamen",
        "%1 ist %2, mehr als ein Byte fasst (das Ger\xE4t erh\xE4lt %3)",
        "%1 ist %2, au\xDF""erhalb von %3..%4",
        "%1 ist %2, nicht 0 oder 1",
        "%1: L\xE4nge %2 passt nicht zum Text (%3 Zeichen)",
        "%1 hat %2 Zeichen, h\xF6""chstens %3 passen",
        "POS: erste Zeile %1 mit %2 Zeilen reicht \xFC""ber Zeile 16 hinaus",
        "Schalter Sommerzeit",
        "Haltezeit Daten",
        "Haltezeit Relais",
        "serielle Leitung: Index Handshake",
        "serielle Leitung: Index Datenformat",
        "serielle Leitung: Index Baudrate",
        "IP-Adresse: Oktett %1",
        "IP-Port",
        "Schalter Datenweiterleitung",
        "Datenweiterleitung: Baudziffer",
        "Datenweiterleitung: Code vor dem Feld",
        "Datenweiterleitung: Code nach dem Feld",
        "POS: Kassennummer",
        "POS: erste Zeile",
        "POS: Zeilenanzahl",
        "POS: Laufrichtung",
        "POS: Hintergrund",
        "POS: Transparenz",
        "POS: Textfarbe",
        "POS erweitert: auf 40 Zeichen begrenzen",
        "POS erweitert: Kopf zeigen",
        "POS erweitert: \xDC""berspringen",
        "POS erweitert: Startdefinition",
        "POS erweitert: Enddefinition",
        "POS erweitert: Schl\xFCsselwort %1",
        "POS erweitert: Aktion von Schl\xFCsselwort %1",
        "POS erweitert: max. Anzahl Leerzeichen",
        "Feld %1",
        "Datum",
        "Uhrzeit",
        "Datensatz %1: %2",
        "Zeile %1, Spalte %2: das Ger\xE4t kann das Zeichen %3 nicht zeigen",
        "%1: L\xE4nge %2 liegt au\xDF""erhalb von 0..255",
        "%1: L\xE4nge %2 liegt \xFC""ber der Grenze der Bilddatei von %3",
        "%1 ist eingeschaltet, aber die Bilddatei kennt kein solches Feld",
        "%1 hat die Position %2, au\xDF""erhalb des Bildschirms",
        "%1 (Zeile %2, Spalte %3, L\xE4nge %4) reicht \xFC""ber den Bildschirm hinaus",
        "%1 (Zeile %2, Spalte %3) liegt au\xDF""erhalb des Bildschirms",
        "%1: Zeile %2, Spalte %3 passen nicht zur Position %4 (Zeile %5, Spalte %6)",
        "Datum und Uhrzeit belegen beide Zeile %1, Spalte %2",
        "%1 und %2 belegen beide Zeile %3, Spalte %4",
        "%1 Zelle(n) mit einer Nummer, die kein Feld nennt, die erste in Zeile %2, Spalte %3 (%4)",
        "Zellen sind als %1 markiert, das ausgeschaltet oder nicht platziert ist",
        "die als %1 markierten Zellen weichen von seinen ab (Zeile %2, Spalte %3, L\xE4nge %4)",
        "(%1 weitere)",
        "%1: diesen Ordner gibt es nicht",
        "%1: die Bilddatei wird neben dem Projekt gesucht: dorthin kopieren oder die Bilddatei im Projekt berichtigen",
        "%1: abgelehnt, da die Pr\xFC""fung es ablehnt; --force nimmt es trotzdem",
        "%1: kein Problem gefunden",
        "%1: ist eine Schleife von Verkn\xFC""pfungen",
        "%1: hat einen f\xFC""r das System zu langen Namen",
        "ein leerer Dateiname: keine Datei ist genannt",
        "%1: ist keine Textdatei (Bin\xE4rdaten) und kein Kassenbon",
        "%1: ist UTF-8, die Kasse sendet Windows-1252; umgewandelt, Zeichen ohne Entsprechung als ?",
        "%1: Zeilen \xFC""ber %2 Zeichen (ohne Zeilenende?) sind gek\xFCrzt",
        "%1: nur die ersten %2 Zeilen werden gespielt",
        "%1: ist gr\xF6\xDF""er als %2 Bytes; nur der Anfang wird gespielt",
        "POS-Bereich (Zeilen %1 bis %2) liegt \xFC""ber %3",
        "Keine Anfangszeile gew\xE4hlt: die Vorschau zeigt keinen POS-Bereich",
        "%1: ist kein Bild, das gelesen werden kann",
        "%1: ist mit %2 \xD7 %3 Bildpunkten zu gro\xDF (h\xF6""chstens %4 Millionen)",
        "Vorschau - das Ger\xE4t kann abweichen",
        "Vorschau geschrieben: %1",
        "Vo&rschau",
        "Vorschau",
        "Datensatz",
        "Kassenbon \xF6""ffnen...",
        "N\xE4""chste Zeile",
        "Abspielen",
        "Anhalten",
        "Hintergrundbild...",
        "Testbild",
        "Als PNG speichern...",
        "Kein Kassenbon geladen",
        "%1: Zeile %2 von %3",
        "Zeile %1: Relais 3 s (Schl\xFCsselwort %2)",
        "Zeile %1: Senden (Schl\xFCsselwort %2)",
        "Die Projektpr\xFC""fung findet %1 Problem(e); ihre Zellen sind magenta umrandet",
        "PNG-Bilder (*.png)",
        "Bilder (*.png *.jpg *.jpeg *.bmp);;Alle Dateien (*)",
        "Textdateien (*.txt);;Alle Dateien (*)",
        "%1: kann nicht geschrieben werden: %2",
        "programmiert und gepr\xFC""ft",
        "hielt das Projekt schon",
        "fehlgeschlagen",
        "abgezogen",
        "%1 ist keine Datenbank: %2",
        "%1 ist schreibgesch\xFCtzt: die Station kann nichts eintragen.",
        "Der Datenbankserver von %1 ist nicht erreichbar: %2",
        "Der Datenbankserver von %1 weist die Verbindung ab: %2",
        "%1 ist keine Datenbankadresse (postgresql://benutzer@rechner[:port]/datenbank).",
        "Der Datenbanktreiber %1 fehlt (Paket %2).",
        "In %1 konnte nichts eingetragen werden: %2",
        "%1 konnte nicht gelesen werden: %2",
        "--since: %1 ist kein Datum (JJJJ-MM-TT oder JJJJ-MM-TTThh:mm:ss).",
        "%1: keine Eintr\xE4ge",
        "%1: angeschlossen",
        "%1: Programmierung beginnt",
        "%1: programmiert und gepr\xFC""ft (%2 s)",
        "%1: h\xE4lt das Projekt bereits (%2 s)",
        "%1: fehlgeschlagen bei %2: %3",
        "%1: abgezogen bei %2: %3",
        "%1: abgezogen",
        "Warte auf Ger\xE4te in %1 (Strg+C beendet)",
        "%1 fehlt; warte, bis der Ordner da ist",
        "%1; die Station nimmt kein weiteres Ger\xE4t an",
        "%1: der Befehl nach dem Ergebnis endete mit %2",
        "%1: der Befehl nach dem Ergebnis lie\xDF sich nicht starten oder wurde beendet",
        "%1: der Befehl nach dem Ergebnis lief l\xE4nger als %2 s und wurde beendet",
        "%1 programmiert, %2 hatten das Projekt bereits, %3 fehlgeschlagen, %4 abgezogen",
        "Serienprogrammierung...",
        "QV - Serienprogrammierung",
        "Ger\xE4te in:",
        "Starten",
        "Anhalten",
        "Fertig: %1    Fehlgeschlagen: %2    Hielten es schon: %3",
        "Letzte Eintr\xE4ge in %1:",
        "eingesteckt",
        "l\xE4uft",
        "abgezogen (fertig)",
        "Erst das Projekt speichern: die Station programmiert die Projektdatei.",
        "Pr\xFC""fung, ob es das Projekt schon h\xE4lt",
        "\xD6""ffnen der Schnittstelle",
    };
    return texts;
}

}  // namespace

MessageValue::MessageValue(std::string text) : text(std::move(text)) {}
MessageValue::MessageValue(const char* text) : text(text) {}
MessageValue::MessageValue(SlotMessage message) : messages{std::move(message)} {}
MessageValue::MessageValue(std::vector<SlotMessage> messages) : messages(std::move(messages)) {}

bool MessageValue::operator==(const MessageValue& other) const {
    return text == other.text && messages == other.messages;
}

bool SlotMessage::operator==(const SlotMessage& other) const { return slot == other.slot && values == other.values; }

std::string fillPlaceholders(const std::string& text, const std::vector<std::string>& values) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::size_t n = i + 1 < text.size() ? static_cast<std::size_t>(text[i + 1] - '1') : values.size();
        if (text[i] == '%' && n < values.size() && n < 9) {
            out += values[n];
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

MessageTable::MessageTable() : texts_(ClassicSlotCount) {
    for (const auto& t : builtInTexts()) texts_.push_back(t);
    shown_ = texts_;
    values_.resize(texts_.size());
}

const std::string& MessageTable::text(int slot) const {
    static const std::string empty;
    if (slot < 0 || slot >= slotCount()) return empty;
    return shown_[slot];
}

void MessageTable::setText(int slot, std::string text) {
    if (slot < 0 || slot >= slotCount()) return;
    texts_[slot] = std::move(text);
    fill(slot);
}

void MessageTable::setValues(int slot, std::vector<MessageValue> values) {
    if (slot < 0 || slot >= slotCount()) return;
    values_[slot] = std::move(values);
    fill(slot);
}

std::string MessageTable::text(const SlotMessage& message) const {
    return fillPlaceholders(text(message.slot), valueTexts(message.values));
}

std::vector<std::string> MessageTable::texts(const std::vector<SlotMessage>& messages) const {
    std::vector<std::string> said;
    for (const SlotMessage& message : messages) said.push_back(text(message));
    return said;
}

std::vector<std::string> MessageTable::valueTexts(const std::vector<MessageValue>& values) const {
    std::vector<std::string> said;
    for (const MessageValue& value : values) {
        std::string joined = value.text;
        for (const SlotMessage& message : value.messages) joined += (joined.empty() ? "" : ", ") + text(message);
        said.push_back(std::move(joined));
    }
    return said;
}

void MessageTable::fill(int slot) { shown_[slot] = fillPlaceholders(texts_[slot], valueTexts(values_[slot])); }

}  // namespace vem
