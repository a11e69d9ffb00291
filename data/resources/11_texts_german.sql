-- German texts (language 1031).
INSERT INTO texts (key, language, text) VALUES
    -- Title of the wizard; message boxes show it after the device's name.
    ('IDS_TEACH_WIZ', 1031, 'Teach-in-Assistent'),

    -- Chart captions, each followed by " - " and the legend of the chart.
    ('IDS_Temperaturdiagramm', 1031, 'Temperaturdiagramm'),
    ('IDS_Stroemungsdiagramm', 1031, 'Strömungsdiagramm'),

    -- Captions of the teach panel.
    ('IDS_FWZ_QTV', 1031, 'Quick-Teach-Schaltpunkt'),
    ('IDS_FWZ_TEACH_PROC', 1031, 'Teach-in'),
    ('IDS_FWZ_TEACH_OPT', 1031, 'Teach-in-Verfahren'),
    ('IDS_FWZ_SET', 1031, 'Setzen'),
    ('IDS_TMax', 1031, 'Max. einlernen'),
    ('IDS_TMin', 1031, 'Min. einlernen'),
    ('IDS_TQuick', 1031, 'Einlernen'),
    ('IDS_TMAX_MIN', 1031, 'Max./Min.-Teach'),
    ('IDS_TSQUICK', 1031, 'Quick-Teach'),
    ('IDS_TCANCEL', 1031, 'Abbrechen'),
    ('IDS_SET_MANUAL', 1031, 'Werte schreiben'),

    -- Running time beside the charts; %1 is the number of seconds.
    ('IDS_TTIP_TIME_RUN', 1031, 'Laufzeit: %1 s'),

    -- Tooltips of the toolbar buttons.
    ('IDS_TTIP_POLLEN_EIN_AUSSCHALTE', 1031, 'Zyklisches Lesen des Geräts ein- oder ausschalten'),
    ('IDS_TTIP_CLEAR_CHART', 1031, 'Diagramme ab jetzt neu beginnen'),
    ('IDS_TTIP_AUTO_SIZE', 1031, 'Diagramme an alle gelesenen Werte anpassen'),
    ('IDS_TTIP_EDIT_INFO', 1031, 'Teach-Werte von Hand eingeben'),

    -- Message boxes.
    ('IDS_VERBINDUNG_KONNTE_NICHT_AUFGEBAUT_', 1031,
     'Die Verbindung zum Gerät konnte nicht aufgebaut werden. Bitte Kabel, Schnittstelle und '
     || 'Spannungsversorgung des Geräts prüfen und das zyklische Lesen erneut einschalten.'),
    ('GERAET_IST_NICHT_VERBUNDEN', 1031,
     'Das Gerät ist nicht verbunden. Bitte zuerst das Gerät verbinden und dann das zyklische '
     || 'Lesen einschalten.'),
    ('IDS_FWZ_EDIT_INFO', 1031,
     'Manuelle Eingabe: Die neuen Werte in die Eingabefelder eintragen und „Werte schreiben“ '
     || 'drücken, um sie in das Gerät zu schreiben. Zum Teach-in zurück mit erneutem Klick auf '
     || 'die Bearbeiten-Schaltfläche.'),
    ('IDS_FWZ_VALUE_INVALID', 1031,
     'Der eingegebene Wert ist für dieses Gerät nicht gültig. Bitte eine ganze Zahl im '
     || 'zulässigen Bereich eingeben. Es wurde nichts in das Gerät geschrieben.'),
    -- %1 is the largest difference that is still refused (firmware 0) ...
    ('IDS_DIFF_SMALL_MAN_FW0', 1031,
     'Das Maximum muss um mehr als %1 über dem Minimum liegen. Es wurde nichts in das Gerät '
     || 'geschrieben.'),
    -- ... and the smallest difference that is accepted (firmware 1).
    ('IDS_DIFF_SMALL_MAN_FW1', 1031,
     'Das Maximum muss um mindestens %1 über dem Minimum liegen. Es wurde nichts in das Gerät '
     || 'geschrieben.'),

    -- Instructions of the wizard in the status line (one line each).
    ('IDS_FWZ_QUICK_ACT', 1031, 'Quick-Teach-Modus aktiv. Teach-in starten oder Schaltpunkt von Hand setzen.'),
    ('IDS_FWZ_SELECT_TEACH', 1031, 'Kein gültiges Maximum und Minimum eingelernt. Bitte Teach-in-Verfahren wählen.'),
    ('IDS_FWZ_MAX_MIN_ACT', 1031, 'Max./Min.-Modus aktiv. Der Schaltpunkt liegt zwischen Minimum und Maximum.'),
    ('IDS_FWZ_SET_MAX', 1031, 'Jetzt den maximalen Durchfluss (normaler Betriebsdurchfluss) einstellen.'),
    ('IDS_FWZ_SET_MAX_TEACH', 1031, 'Durchfluss stabil. „Max. einlernen“ drücken, um das Maximum einzulernen.'),
    ('IDS_FWZ_FLOW_NOT_SET', 1031, 'Durchfluss noch nicht stabil. Bitte warten.'),
    ('IDS_SET_MAX_SUCC', 1031, 'Maximaler Durchfluss erfolgreich eingelernt.'),
    ('IDS_FWZ_FLOW_TO_HIGH', 1031, 'Durchfluss zu hoch. Durchfluss auf den minimalen Durchfluss verringern.'),
    ('IDS_DIFF_SMALL', 1031, 'Abstand zum Maximum noch zu klein. Durchfluss weiter verringern.'),
    ('IDS_FWZ_SET_MIN_TEACH', 1031, 'Durchfluss stabil. „Min. einlernen“ drücken, um das Minimum einzulernen.'),
    ('IDS_FWZ_MAX_MIN_SUCC', 1031, 'Max./Min.-Teach erfolgreich abgeschlossen.'),
    ('IDS_SET_MM_TEACH_MAN', 1031, 'Maximum und Minimum eingeben, dann „Werte schreiben“ drücken.'),
    ('IDS_FWZ_SET_QUICK_TEACH', 1031, 'Durchfluss stabil. „Einlernen“ drücken, um den Schaltpunkt hier einzulernen.'),
    ('IDS_FWZ_QUICK_SUCC', 1031, 'Quick-Teach erfolgreich abgeschlossen.'),
    ('IDS_SET_QUICK_TEACH_MAN', 1031, 'Quick-Teach-Schaltpunkt eingeben, dann „Werte schreiben“ drücken.');

-- The commissioning report: headings, captions and the words of its tables.
INSERT INTO texts (key, language, text) VALUES
    ('IDS_REP_TITLE', 1031, 'Inbetriebnahmeprotokoll'),
    ('IDS_REP_DEVICE', 1031, 'Gerät'),
    ('IDS_REP_DEVICE_NAME', 1031, 'Gerätename'),
    ('IDS_REP_FIRMWARE', 1031, 'Firmware'),
    ('IDS_REP_BUS', 1031, 'Buskategorie'),
    ('IDS_REP_DESCRIPTION', 1031, 'Gerätebeschreibung'),
    ('IDS_REP_BUILT_IN', 1031, 'eingebauter Strömungswächter'),
    ('IDS_REP_DATE', 1031, 'Datum und Uhrzeit'),
    ('IDS_REP_SETTINGS', 1031, 'Einstellungen im Gerät'),
    ('IDS_REP_TEACH_MODE', 1031, 'Teach-Modus'),
    ('IDS_REP_MODE_MAXMIN', 1031, 'Max/Min-Teach'),
    ('IDS_REP_MODE_QUICK', 1031, 'Quick-Teach'),
    ('IDS_REP_TAUGHT_MAX', 1031, 'Geteachtes Maximum'),
    ('IDS_REP_TAUGHT_MIN', 1031, 'Geteachtes Minimum'),
    ('IDS_REP_FLOW_SP', 1031, 'Strömungsschaltpunkt'),
    ('IDS_REP_FLOW_SP_SHARE', 1031, 'Schaltpunkt innerhalb der geteachten Spanne'),
    ('IDS_REP_QT_TOL', 1031, 'Quick-Teach-Toleranz'),
    ('IDS_REP_TEMP_SP', 1031, 'Temperaturschaltpunkt'),
    ('IDS_REP_EVENTS', 1031, 'Teach-Ereignisse'),
    ('IDS_REP_NOTES', 1031, 'Notizen'),
    ('IDS_REP_NONE', 1031, 'keine'),
    ('IDS_REP_TREND_TEACH', 1031, 'Verlauf um das letzte Teach-in'),
    ('IDS_REP_TREND_LAST', 1031, 'Verlauf der letzten zehn Minuten'),
    ('IDS_REP_STATS', 1031, 'Statistik dieses Abschnitts'),
    ('IDS_REP_MINIMUM', 1031, 'Minimum'),
    ('IDS_REP_MAXIMUM', 1031, 'Maximum'),
    ('IDS_REP_MEAN', 1031, 'Mittelwert'),
    ('IDS_REP_SAMPLES', 1031, 'Messpunkte'),
    ('IDS_REP_FLOW', 1031, 'Strömung'),
    ('IDS_REP_TEMPERATURE', 1031, 'Temperatur'),
    ('IDS_REP_SWITCH_LINE', 1031, 'Schaltpunkt'),
    ('IDS_REP_BAND', 1031, 'Geteachter Bereich'),
    ('IDS_REP_PARAMETERS', 1031, 'Parameter, wie zuletzt gelesen'),
    ('IDS_REP_PARAMETER', 1031, 'Parameter'),
    ('IDS_REP_VALUE', 1031, 'Wert'),
    ('IDS_REP_UNIT', 1031, 'Einheit'),
    ('IDS_REP_TIME', 1031, 'Zeit'),
    ('IDS_REP_EVENT', 1031, 'Ereignis'),
    ('IDS_REP_NO_VALUE', 1031, 'kein Wert'),
    ('IDS_REP_NO_SAMPLES', 1031, 'Es wurde kein Verlauf aufgezeichnet.');
