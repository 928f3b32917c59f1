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
        <source>%1 deleted or lost files, %2 in all.</source>
        <translation>%1 gelöschte oder verlorene Dateien, insgesamt %2.</translation>
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
        <source>Found files</source>
        <translation>Gefundene Dateien</translation>
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
</context>
</TS>
