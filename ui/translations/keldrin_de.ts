<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>Keldrin</name>
    <message>
        <source>  Complete Recovery  </source>
        <translation>  Vollständige Wiederherstellung  </translation>
    </message>
    <message>
        <source>  Deleted File Recovery  </source>
        <translation>  Gelöschte Dateien wiederherstellen  </translation>
    </message>
    <message>
        <source>  Partition Recovery  </source>
        <translation>  Partitionen wiederherstellen  </translation>
    </message>
    <message>
        <source> Information</source>
        <translation> Information</translation>
    </message>
    <message>
        <source>&lt; Back</source>
        <translation>&lt; Zurück</translation>
    </message>
    <message>
        <source>Abort Building?</source>
        <translation>Aufbau abbrechen?</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Über</translation>
    </message>
    <message>
        <source>All file types</source>
        <translation>Alle Dateiarten</translation>
    </message>
    <message>
        <source>Are you sure to return to home page?</source>
        <translation>Wirklich zur Startseite zurückkehren?</translation>
    </message>
    <message>
        <source>Audio</source>
        <translation>Audio</translation>
    </message>
    <message>
        <source>Building directory</source>
        <translation>Verzeichnis wird aufgebaut</translation>
    </message>
    <message>
        <source>C&amp;ancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Cancelling...</source>
        <translation>Wird abgebrochen...</translation>
    </message>
    <message>
        <source>Capacity</source>
        <translation>Kapazität</translation>
    </message>
    <message>
        <source>Complete Recovery</source>
        <translation>Vollständige Wiederherstellung</translation>
    </message>
    <message>
        <source>Deleted File Recovery</source>
        <translation>Gelöschte Dateien wiederherstellen</translation>
    </message>
    <message>
        <source>Device</source>
        <translation>Gerät</translation>
    </message>
    <message>
        <source>Do not show this again</source>
        <translation>Nicht mehr anzeigen</translation>
    </message>
    <message>
        <source>Documents</source>
        <translation>Dokumente</translation>
    </message>
    <message>
        <source>E-mail</source>
        <translation>E-Mail</translation>
    </message>
    <message>
        <source>Exit now?</source>
        <translation>Jetzt beenden?</translation>
    </message>
    <message>
        <source>Floppy drive</source>
        <translation>Diskettenlaufwerk</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>Home</source>
        <translation>Startseite</translation>
    </message>
    <message>
        <source>If the files are not found or corrupted in this mode, please go to &quot;Complete Recovery&quot;!</source>
        <translation>Werden die Dateien in diesem Modus nicht oder beschädigt gefunden, verwenden Sie bitte die &quot;Vollständige Wiederherstellung&quot;!</translation>
    </message>
    <message>
        <source>Image File, </source>
        <translation>Abbilddatei, </translation>
    </message>
    <message>
        <source>Keldrin has been running!</source>
        <translation>Keldrin läuft bereits!</translation>
    </message>
    <message>
        <source>Keldrin recovers deleted and lost files from NTFS, FAT and Ext2/3 volumes and disk images.</source>
        <translation>Keldrin stellt gelöschte und verlorene Dateien von NTFS-, FAT- und Ext2/3-Laufwerken und Datenträgerabbildern wieder her.</translation>
    </message>
    <message>
        <source>Menu</source>
        <translation>Menü</translation>
    </message>
    <message>
        <source>Next &gt;</source>
        <translation>Weiter &gt;</translation>
    </message>
    <message>
        <source>No files found, please go to Complete Recovery mode!</source>
        <translation>Keine Dateien gefunden, bitte verwenden Sie die Vollständige Wiederherstellung!</translation>
    </message>
    <message>
        <source>Open Disk Image</source>
        <translation>Datenträgerabbild öffnen</translation>
    </message>
    <message>
        <source>Open Disk Image...</source>
        <translation>Abbild öffnen...</translation>
    </message>
    <message>
        <source>Open a raw disk image (.img, .dd, .raw) - Ctrl+O</source>
        <translation>Ein rohes Datenträgerabbild öffnen (.img, .dd, .raw) - Strg+O</translation>
    </message>
    <message>
        <source>Partition Recovery</source>
        <translation>Partitionen wiederherstellen</translation>
    </message>
    <message>
        <source>Pictures</source>
        <translation>Bilder</translation>
    </message>
    <message>
        <source>Please wait, scanning system...</source>
        <translation>Bitte warten, das System wird durchsucht...</translation>
    </message>
    <message>
        <source>Quickly recover files deleted from a volume that is still intact.</source>
        <translation>Schnell Dateien wiederherstellen, die von einem noch intakten Laufwerk gelöscht wurden.</translation>
    </message>
    <message>
        <source>Quit recovering?</source>
        <translation>Wiederherstellung abbrechen?</translation>
    </message>
    <message>
        <source>Raw disk images (*.img *.dd *.raw);;All files (*)</source>
        <translation>Rohe Datenträgerabbilder (*.img *.dd *.raw);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Recover</source>
        <translation>Wiederherstellen</translation>
    </message>
    <message>
        <source>Recovered Data Size:</source>
        <translation>Wiederhergestellte Datenmenge:</translation>
    </message>
    <message>
        <source>Recovered Files:</source>
        <translation>Wiederhergestellte Dateien:</translation>
    </message>
    <message>
        <source>Recovering</source>
        <translation>Wiederherstellung</translation>
    </message>
    <message>
        <source>Recovering File Name:</source>
        <translation>Aktuelle Datei:</translation>
    </message>
    <message>
        <source>Recovery Result</source>
        <translation>Ergebnis der Wiederherstellung</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>Aktualisieren</translation>
    </message>
    <message>
        <source>Save Files</source>
        <translation>Dateien speichern</translation>
    </message>
    <message>
        <source>Scan a formatted, damaged or inaccessible volume sector by sector.</source>
        <translation>Ein formatiertes, beschädigtes oder unzugängliches Laufwerk Sektor für Sektor durchsuchen.</translation>
    </message>
    <message>
        <source>Search a whole disk for lost or deleted partitions.</source>
        <translation>Eine ganze Festplatte nach verlorenen oder gelöschten Partitionen durchsuchen.</translation>
    </message>
    <message>
        <source>Select Files</source>
        <translation>Dateien auswählen</translation>
    </message>
    <message>
        <source>Select a partition to recover please.</source>
        <translation>Bitte wählen Sie eine Partition zur Wiederherstellung aus.</translation>
    </message>
    <message>
        <source>Select the partition that held the deleted files, then click Next.</source>
        <translation>Wählen Sie die Partition, auf der die gelöschten Dateien lagen, und klicken Sie auf Weiter.</translation>
    </message>
    <message>
        <source>Selected Files:</source>
        <translation>Ausgewählte Dateien:</translation>
    </message>
    <message>
        <source>The disk image cannot be read.</source>
        <translation>Das Datenträgerabbild kann nicht gelesen werden.</translation>
    </message>
    <message>
        <source>The search results might be lost if you exit. Click &quot;Export&quot; to save it. Do you exit now?</source>
        <translation>Die Suchergebnisse können beim Beenden verloren gehen. Klicken Sie auf &quot;Exportieren&quot;, um sie zu sichern. Jetzt beenden?</translation>
    </message>
    <message>
        <source>This step is not available yet.</source>
        <translation>Dieser Schritt ist noch nicht verfügbar.</translation>
    </message>
    <message>
        <source>Total Data Size:</source>
        <translation>Gesamte Datenmenge:</translation>
    </message>
    <message>
        <source>Type of Files</source>
        <translation>Dateiarten</translation>
    </message>
    <message>
        <source>Video</source>
        <translation>Video</translation>
    </message>
    <message>
        <source>Welcome to Keldrin</source>
        <translation>Willkommen bei Keldrin</translation>
    </message>
    <message>
        <source>What type of files would you like to recover?</source>
        <translation>Welche Dateiarten möchten Sie wiederherstellen?</translation>
    </message>
    <message>
        <source>Disk Image</source>
        <translation>Datenträgerabbild</translation>
    </message>
    <message>
        <source>Delete Image</source>
        <translation>Abbild entfernen</translation>
    </message>
    <message>
        <source>Option</source>
        <translation>Optionen</translation>
    </message>
    <message>
        <source>Common</source>
        <translation>Allgemein</translation>
    </message>
    <message>
        <source>FAT</source>
        <translation>FAT</translation>
    </message>
    <message>
        <source>NTFS</source>
        <translation>NTFS</translation>
    </message>
    <message>
        <source>RAW</source>
        <translation>RAW</translation>
    </message>
    <message>
        <source>Default</source>
        <translation>Standard</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Use Boot Records</source>
        <translation>Bootsektoren verwenden</translation>
    </message>
    <message>
        <source>Using Boot Records could calculate file system details with better accuracy if the Boot Records is not corrupted. </source>
        <translation>Mit den Bootsektoren lassen sich die Angaben des Dateisystems genauer berechnen, sofern die Bootsektoren nicht beschädigt sind. </translation>
    </message>
    <message>
        <source>Use Partition Tables</source>
        <translation>Partitionstabellen verwenden</translation>
    </message>
    <message>
        <source>Extensive Volumes Search</source>
        <translation>Gründliche Suche nach Volumes</translation>
    </message>
    <message>
        <source>Check DATE field of file descriptors</source>
        <translation>DATUM-Feld der Dateieinträge prüfen</translation>
    </message>
    <message>
        <source>Check TIME field of file descriptors</source>
        <translation>ZEIT-Feld der Dateieinträge prüfen</translation>
    </message>
    <message>
        <source>Use first FAT copy</source>
        <translation>Erste FAT-Kopie verwenden</translation>
    </message>
    <message>
        <source>Use second FAT copy</source>
        <translation>Zweite FAT-Kopie verwenden</translation>
    </message>
    <message>
        <source>Un-check these option could generate a larger number of files, but file content could become less accurate.</source>
        <translation>Ohne diese Optionen werden mehr Dateien gefunden, deren Inhalt aber ungenauer sein kann.</translation>
    </message>
    <message>
        <source>Un-check these options would find more files, especially useful if you are searching for deleted or lost files.</source>
        <translation>Ohne diese Optionen werden mehr Dateien gefunden; besonders nützlich bei der Suche nach gelöschten oder verlorenen Dateien.</translation>
    </message>
    <message>
        <source>Use NTFS files for volume size detection</source>
        <translation>NTFS-Dateien zur Ermittlung der Volume-Größe verwenden</translation>
    </message>
    <message>
        <source>This option may affect the size of located NTFS volumes</source>
        <translation>Diese Option kann die Größe der gefundenen NTFS-Volumes beeinflussen</translation>
    </message>
    <message>
        <source>Use $MFT file</source>
        <translation>$MFT-Datei verwenden</translation>
    </message>
    <message>
        <source>Check this option to enable $MFT data recovery. In most case, it gives better accuracy of data recovery; while if $MFT is corrupted, it may lead to incorrect results.</source>
        <translation>Aktivieren Sie diese Option, um Daten über die $MFT wiederherzustellen. Meist ist die Wiederherstellung so genauer; ist die $MFT jedoch beschädigt, kann sie zu falschen Ergebnissen führen.</translation>
    </message>
    <message>
        <source>Show files that belong to $MFT only</source>
        <translation>Nur Dateien anzeigen, die zur $MFT gehören</translation>
    </message>
    <message>
        <source>Files not included in $MFT probably are garbage, but in some rare cases check this option would locate good copy of files. </source>
        <translation>Dateien außerhalb der $MFT sind meist unbrauchbar, doch in seltenen Fällen findet diese Option gute Kopien von Dateien. </translation>
    </message>
    <message>
        <source>Recover RAW files:</source>
        <translation>RAW-Dateien wiederherstellen:</translation>
    </message>
    <message>
        <source>Maximal file size:</source>
        <translation>Maximale Dateigröße:</translation>
    </message>
    <message>
        <source>Bytes.</source>
        <translation>Bytes.</translation>
    </message>
    <message>
        <source>Recover RAW files only</source>
        <translation>Nur RAW-Dateien wiederherstellen</translation>
    </message>
    <message>
        <source>What file types would you like to recover?</source>
        <translation>Welche Dateitypen möchten Sie wiederherstellen?</translation>
    </message>
    <message>
        <source>Graphics</source>
        <translation>Grafiken</translation>
    </message>
    <message>
        <source>Archives</source>
        <translation>Archive</translation>
    </message>
    <message>
        <source>Multimedia</source>
        <translation>Multimedia</translation>
    </message>
    <message>
        <source>Email</source>
        <translation>E-Mail</translation>
    </message>
    <message>
        <source>Databases and Financials</source>
        <translation>Datenbanken und Finanzen</translation>
    </message>
    <message>
        <source>%1 files selected, %2 required.</source>
        <translation>%1 Dateien ausgewählt, %2 benötigt.</translation>
    </message>
    <message>
        <source>(Everywhere)</source>
        <translation>(Überall)</translation>
    </message>
    <message>
        <source>, total recovered files: </source>
        <translation>, insgesamt wiederhergestellte Dateien: </translation>
    </message>
    <message>
        <source>Accessed</source>
        <translation>Zugegriffen</translation>
    </message>
    <message>
        <source>All Files (*)</source>
        <translation>Alle Dateien (*)</translation>
    </message>
    <message>
        <source>All files are recovered successfully.</source>
        <translation>Alle Dateien wurden erfolgreich wiederhergestellt.</translation>
    </message>
    <message>
        <source>Are you sure to quit searching?</source>
        <translation>Die Suche wirklich verlassen?</translation>
    </message>
    <message>
        <source>Auto select files</source>
        <translation>Dateien automatisch auswählen</translation>
    </message>
    <message>
        <source>CAUTION! We do NOT recommend you to save the recovered files 
to the same drive because this can reduce the chance of 
successful recovery.

Are you sure to recover files to the same drive?</source>
        <translation>ACHTUNG! Wir raten davon ab, die wiederhergestellten Dateien 
auf demselben Laufwerk zu speichern, denn das kann die Aussicht 
auf eine erfolgreiche Wiederherstellung verringern.

Dateien wirklich auf demselben Laufwerk wiederherstellen?</translation>
    </message>
    <message>
        <source>Case sensitive</source>
        <translation>Groß-/Kleinschreibung beachten</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Cluster</source>
        <translation>Cluster</translation>
    </message>
    <message>
        <source>Compressed</source>
        <translation>Komprimiert</translation>
    </message>
    <message>
        <source>Created</source>
        <translation>Erstellt</translation>
    </message>
    <message>
        <source>Creation Time</source>
        <translation>Erstellungszeit</translation>
    </message>
    <message>
        <source>Cross Link</source>
        <translation>Querverweis</translation>
    </message>
    <message>
        <source>DataAreaSector</source>
        <translation>Datenbereichssektor</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Datum</translation>
    </message>
    <message>
        <source>Date:</source>
        <translation>Datum:</translation>
    </message>
    <message>
        <source>Deleted</source>
        <translation>Gelöscht</translation>
    </message>
    <message>
        <source>Encrypted</source>
        <translation>Verschlüsselt</translation>
    </message>
    <message>
        <source>File Name</source>
        <translation>Dateiname</translation>
    </message>
    <message>
        <source>File Size</source>
        <translation>Dateigröße</translation>
    </message>
    <message>
        <source>File Type</source>
        <translation>Dateityp</translation>
    </message>
    <message>
        <source>File name:</source>
        <translation>Dateiname:</translation>
    </message>
    <message>
        <source>File type:</source>
        <translation>Dateityp:</translation>
    </message>
    <message>
        <source>Files</source>
        <translation>Dateien</translation>
    </message>
    <message>
        <source>Files are recovered unsuccessfully.</source>
        <translation>Die Dateien konnten nicht wiederhergestellt werden.</translation>
    </message>
    <message>
        <source>Files are saved in:</source>
        <translation>Die Dateien wurden gespeichert in:</translation>
    </message>
    <message>
        <source>Files need to recover: </source>
        <translation>Wiederherzustellende Dateien: </translation>
    </message>
    <message>
        <source>Find</source>
        <translation>Suchen</translation>
    </message>
    <message>
        <source>Find Name:</source>
        <translation>Name suchen:</translation>
    </message>
    <message>
        <source>Find Next</source>
        <translation>Weitersuchen</translation>
    </message>
    <message>
        <source>Find by name</source>
        <translation>Nach Namen suchen</translation>
    </message>
    <message>
        <source>Free Space : %1</source>
        <translation>Freier Speicher : %1</translation>
    </message>
    <message>
        <source>Include encrypted files</source>
        <translation>Verschlüsselte Dateien einschließen</translation>
    </message>
    <message>
        <source>Invalid parameter!</source>
        <translation>Ungültiger Parameter!</translation>
    </message>
    <message>
        <source>Invalid path name!</source>
        <translation>Ungültiger Pfadname!</translation>
    </message>
    <message>
        <source>Invalid symbol!</source>
        <translation>Ungültiges Zeichen!</translation>
    </message>
    <message>
        <source>KB</source>
        <translation>KB</translation>
    </message>
    <message>
        <source>Last Access Time</source>
        <translation>Letzter Zugriff</translation>
    </message>
    <message>
        <source>Lay out</source>
        <translation>Anordnung</translation>
    </message>
    <message>
        <source>List</source>
        <translation>Liste</translation>
    </message>
    <message>
        <source>Lost</source>
        <translation>Verloren</translation>
    </message>
    <message>
        <source>Match Case</source>
        <translation>Groß-/Kleinschreibung</translation>
    </message>
    <message>
        <source>Modification Time</source>
        <translation>Änderungszeit</translation>
    </message>
    <message>
        <source>Modified</source>
        <translation>Geändert</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Name &amp;&amp; Location</source>
        <translation>Name &amp;&amp; Ort</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Nein</translation>
    </message>
    <message>
        <source>No disk in the drive!</source>
        <translation>Kein Datenträger im Laufwerk!</translation>
    </message>
    <message>
        <source>No files found</source>
        <translation>Keine Dateien gefunden</translation>
    </message>
    <message>
        <source>No files match specific criteria.</source>
        <translation>Keine Dateien entsprechen den Kriterien.</translation>
    </message>
    <message>
        <source>No more files found.</source>
        <translation>Keine weiteren Dateien gefunden.</translation>
    </message>
    <message>
        <source>Nothing selected</source>
        <translation>Nichts ausgewählt</translation>
    </message>
    <message>
        <source>Offset</source>
        <translation>Versatz</translation>
    </message>
    <message>
        <source>Other Parameters:</source>
        <translation>Weitere Parameter:</translation>
    </message>
    <message>
        <source>Others</source>
        <translation>Weiteres</translation>
    </message>
    <message>
        <source>Parent</source>
        <translation>Übergeordnet</translation>
    </message>
    <message>
        <source>Parent Sector</source>
        <translation>Übergeordneter Sektor</translation>
    </message>
    <message>
        <source>Path</source>
        <translation>Pfad</translation>
    </message>
    <message>
        <source>Path too long!</source>
        <translation>Pfad zu lang!</translation>
    </message>
    <message>
        <source>Please enter an integer between %1 and %2.</source>
        <translation>Bitte eine ganze Zahl zwischen %1 und %2 eingeben.</translation>
    </message>
    <message>
        <source>Please select a file to recover!</source>
        <translation>Bitte eine Datei zum Wiederherstellen auswählen!</translation>
    </message>
    <message>
        <source>Please select a folder to save the recovered files!</source>
        <translation>Bitte einen Ordner für die wiederhergestellten Dateien auswählen!</translation>
    </message>
    <message>
        <source>Please wait a minute for there are too many files in the directory you selected.</source>
        <translation>Bitte einen Moment warten, der gewählte Ordner enthält sehr viele Dateien.</translation>
    </message>
    <message>
        <source>Properties</source>
        <translation>Eigenschaften</translation>
    </message>
    <message>
        <source>Record sector</source>
        <translation>Datensatzsektor</translation>
    </message>
    <message>
        <source>Recovery</source>
        <translation>Wiederherstellen</translation>
    </message>
    <message>
        <source>Report</source>
        <translation>Bericht</translation>
    </message>
    <message>
        <source>Required Space : %1</source>
        <translation>Benötigter Speicher : %1</translation>
    </message>
    <message>
        <source>Resident</source>
        <translation>Resident</translation>
    </message>
    <message>
        <source>Return</source>
        <translation>Zurück zur Liste</translation>
    </message>
    <message>
        <source>Saving is completed</source>
        <translation>Das Speichern ist abgeschlossen</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>Suche</translation>
    </message>
    <message>
        <source>Search files</source>
        <translation>Dateien suchen</translation>
    </message>
    <message>
        <source>Search location:</source>
        <translation>Suchort:</translation>
    </message>
    <message>
        <source>Sector</source>
        <translation>Sektor</translation>
    </message>
    <message>
        <source>Sector Per Cluster</source>
        <translation>Sektoren pro Cluster</translation>
    </message>
    <message>
        <source>Select a folder to save the recovered files:</source>
        <translation>Ordner für die wiederhergestellten Dateien auswählen:</translation>
    </message>
    <message>
        <source>Select files to save, please.</source>
        <translation>Bitte Dateien zum Speichern auswählen.</translation>
    </message>
    <message>
        <source>Selected %1 in %2 files</source>
        <translation>Ausgewählt: %1 in %2 Dateien</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Größe</translation>
    </message>
    <message>
        <source>Size:</source>
        <translation>Größe:</translation>
    </message>
    <message>
        <source>Some files are recovered successfully.</source>
        <translation>Einige Dateien wurden erfolgreich wiederhergestellt.</translation>
    </message>
    <message>
        <source>Start Sector</source>
        <translation>Startsektor</translation>
    </message>
    <message>
        <source>Temp</source>
        <translation>Temporär</translation>
    </message>
    <message>
        <source>The drive is a RAM disk!</source>
        <translation>Das Laufwerk ist eine RAM-Disk!</translation>
    </message>
    <message>
        <source>The drive is not formatted!</source>
        <translation>Das Laufwerk ist nicht formatiert!</translation>
    </message>
    <message>
        <source>The drive is not ready!</source>
        <translation>Das Laufwerk ist nicht bereit!</translation>
    </message>
    <message>
        <source>The drive is not writable!</source>
        <translation>Auf das Laufwerk kann nicht geschrieben werden!</translation>
    </message>
    <message>
        <source>The free space is not enough, please select another drive.</source>
        <translation>Der freie Speicher reicht nicht aus, bitte ein anderes Laufwerk wählen.</translation>
    </message>
    <message>
        <source>The free space is not enough, please select other drive.</source>
        <translation>Der freie Speicher reicht nicht aus, bitte ein anderes Laufwerk wählen.</translation>
    </message>
    <message>
        <source>The specific drive does not exist!</source>
        <translation>Das angegebene Laufwerk existiert nicht!</translation>
    </message>
    <message>
        <source>Total %1 in %2 files</source>
        <translation>Insgesamt %1 in %2 Dateien</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Typ</translation>
    </message>
    <message>
        <source>Unknown error!</source>
        <translation>Unbekannter Fehler!</translation>
    </message>
    <message>
        <source>Used Space : %1</source>
        <translation>Belegter Speicher : %1</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>Wert</translation>
    </message>
    <message>
        <source>View</source>
        <translation>Ansicht</translation>
    </message>
    <message>
        <source>Whole Word</source>
        <translation>Ganzes Wort</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Ja</translation>
    </message>
    <message>
        <source>days.</source>
        <translation>Tagen.</translation>
    </message>
    <message>
        <source>from</source>
        <translation>von</translation>
    </message>
    <message>
        <source>in last</source>
        <translation>in den letzten</translation>
    </message>
    <message>
        <source>less than</source>
        <translation>kleiner als</translation>
    </message>
    <message>
        <source>month.</source>
        <translation>Monaten.</translation>
    </message>
    <message>
        <source>more than</source>
        <translation>größer als</translation>
    </message>
    <message>
        <source>up to</source>
        <translation>bis</translation>
    </message>
    <message>
        <source>Abort</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Calculating...</source>
        <translation>Wird berechnet...</translation>
    </message>
    <message>
        <source>Cannot preview this file.</source>
        <translation>Für diese Datei ist keine Vorschau möglich.</translation>
    </message>
    <message>
        <source>Failed to recover this file.</source>
        <translation>Diese Datei konnte nicht wiederhergestellt werden.</translation>
    </message>
    <message>
        <source>Loading file...</source>
        <translation>Datei wird geladen...</translation>
    </message>
    <message>
        <source>Loading...</source>
        <translation>Laden...</translation>
    </message>
    <message>
        <source>Process:</source>
        <translation>Fortschritt:</translation>
    </message>
    <message>
        <source>Recovering...</source>
        <translation>Wiederherstellung...</translation>
    </message>
    <message>
        <source>Remaining Time:</source>
        <translation>Verbleibende Zeit:</translation>
    </message>
    <message>
        <source>Help on this page</source>
        <translation>Hilfe zu dieser Seite</translation>
    </message>
</context>
</TS>
