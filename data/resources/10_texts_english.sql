-- English texts (language 1033).
INSERT INTO texts (key, language, text) VALUES
    -- Title of the wizard; message boxes show it after the device's name.
    ('IDS_TEACH_WIZ', 1033, 'Teach-in Wizard'),

    -- Chart captions, each followed by " - " and the legend of the chart.
    ('IDS_Temperaturdiagramm', 1033, 'Temperature chart'),
    ('IDS_Stroemungsdiagramm', 1033, 'Flow chart'),

    -- Captions of the teach panel.
    ('IDS_FWZ_QTV', 1033, 'Quick-teach switch point'),
    ('IDS_FWZ_TEACH_PROC', 1033, 'Teach-in'),
    ('IDS_FWZ_TEACH_OPT', 1033, 'Teach-in method'),
    ('IDS_FWZ_SET', 1033, 'Set'),
    ('IDS_TMax', 1033, 'Teach max'),
    ('IDS_TMin', 1033, 'Teach min'),
    ('IDS_TQuick', 1033, 'Teach'),
    ('IDS_TMAX_MIN', 1033, 'Max/min teach'),
    ('IDS_TSQUICK', 1033, 'Quick teach'),
    ('IDS_TCANCEL', 1033, 'Cancel'),
    ('IDS_SET_MANUAL', 1033, 'Write values'),

    -- Running time beside the charts; %1 is the number of seconds.
    ('IDS_TTIP_TIME_RUN', 1033, 'Running time: %1 s'),

    -- Tooltips of the toolbar buttons.
    ('IDS_TTIP_POLLEN_EIN_AUSSCHALTE', 1033, 'Switch cyclic reading of the device on or off'),
    ('IDS_TTIP_CLEAR_CHART', 1033, 'Restart the charts from now on'),
    ('IDS_TTIP_AUTO_SIZE', 1033, 'Fit the charts to all values read'),
    ('IDS_TTIP_EDIT_INFO', 1033, 'Enter the teach values by hand'),

    -- Message boxes.
    ('IDS_VERBINDUNG_KONNTE_NICHT_AUFGEBAUT_', 1033,
     'The connection to the device could not be established. Check the cable, the interface '
     || 'and the power supply of the device, then switch polling on again.'),
    ('GERAET_IST_NICHT_VERBUNDEN', 1033,
     'The device is not connected. Connect the device first, then switch polling on.'),
    ('IDS_FWZ_EDIT_INFO', 1033,
     'Manual entry: type the new values into the input fields and press "Write values" to '
     || 'write them to the device. Release the edit button to return to the teach-in.'),
    ('IDS_FWZ_VALUE_INVALID', 1033,
     'The value entered is not valid for this device. Enter a whole number within the '
     || 'permitted range. Nothing was written to the device.'),
    -- %1 is the largest difference that is still refused (firmware 0) ...
    ('IDS_DIFF_SMALL_MAN_FW0', 1033,
     'The maximum must be more than %1 above the minimum. Nothing was written to the device.'),
    -- ... and the smallest difference that is accepted (firmware 1).
    ('IDS_DIFF_SMALL_MAN_FW1', 1033,
     'The maximum must be at least %1 above the minimum. Nothing was written to the device.'),

    -- Instructions of the wizard in the status line (one line each).
    ('IDS_FWZ_QUICK_ACT', 1033, 'Quick-teach mode active. Start a teach-in or set the switch point by hand.'),
    ('IDS_FWZ_SELECT_TEACH', 1033, 'No valid maximum and minimum taught. Please select a teach-in method.'),
    ('IDS_FWZ_MAX_MIN_ACT', 1033, 'Max/min mode active. The switch point lies between the taught minimum and maximum.'),
    ('IDS_FWZ_SET_MAX', 1033, 'Set the maximum flow (normal operating flow) now.'),
    ('IDS_FWZ_SET_MAX_TEACH', 1033, 'Flow is steady. Press "Teach max" to teach the maximum flow.'),
    ('IDS_FWZ_FLOW_NOT_SET', 1033, 'Flow is not steady yet. Please wait.'),
    ('IDS_SET_MAX_SUCC', 1033, 'Maximum flow taught successfully.'),
    ('IDS_FWZ_FLOW_TO_HIGH', 1033, 'Flow too high. Reduce the flow to the minimum flow.'),
    ('IDS_DIFF_SMALL', 1033, 'Difference to the maximum still too small. Reduce the flow further.'),
    ('IDS_FWZ_SET_MIN_TEACH', 1033, 'Flow is steady. Press "Teach min" to teach the minimum flow.'),
    ('IDS_FWZ_MAX_MIN_SUCC', 1033, 'Max/min teach completed successfully.'),
    ('IDS_SET_MM_TEACH_MAN', 1033, 'Enter the maximum and the minimum, then press "Write values".'),
    ('IDS_FWZ_SET_QUICK_TEACH', 1033, 'Flow is steady. Press "Teach" to teach the switch point at this flow.'),
    ('IDS_FWZ_QUICK_SUCC', 1033, 'Quick teach completed successfully.'),
    ('IDS_SET_QUICK_TEACH_MAN', 1033, 'Enter the quick-teach switch point, then press "Write values".');

-- The commissioning report: headings, captions and the words of its tables.
INSERT INTO texts (key, language, text) VALUES
    ('IDS_REP_TITLE', 1033, 'Commissioning report'),
    ('IDS_REP_DEVICE', 1033, 'Device'),
    ('IDS_REP_DEVICE_NAME', 1033, 'Device name'),
    ('IDS_REP_FIRMWARE', 1033, 'Firmware'),
    ('IDS_REP_BUS', 1033, 'Bus category'),
    ('IDS_REP_DESCRIPTION', 1033, 'Device description'),
    ('IDS_REP_BUILT_IN', 1033, 'built-in flow monitor'),
    ('IDS_REP_DATE', 1033, 'Date and time'),
    ('IDS_REP_SETTINGS', 1033, 'Settings on the device'),
    ('IDS_REP_TEACH_MODE', 1033, 'Teach mode'),
    ('IDS_REP_MODE_MAXMIN', 1033, 'max/min teach'),
    ('IDS_REP_MODE_QUICK', 1033, 'quick teach'),
    ('IDS_REP_TAUGHT_MAX', 1033, 'Taught maximum'),
    ('IDS_REP_TAUGHT_MIN', 1033, 'Taught minimum'),
    ('IDS_REP_FLOW_SP', 1033, 'Flow switch point'),
    ('IDS_REP_FLOW_SP_SHARE', 1033, 'Switch point within the taught span'),
    ('IDS_REP_QT_TOL', 1033, 'Quick-teach tolerance'),
    ('IDS_REP_TEMP_SP', 1033, 'Temperature switch point'),
    ('IDS_REP_EVENTS', 1033, 'Teach events'),
    ('IDS_REP_NOTES', 1033, 'Notes'),
    ('IDS_REP_NONE', 1033, 'none'),
    ('IDS_REP_TREND_TEACH', 1033, 'Trend around the last teach-in'),
    ('IDS_REP_TREND_LAST', 1033, 'Trend of the last ten minutes'),
    ('IDS_REP_STATS', 1033, 'Statistics of this stretch'),
    ('IDS_REP_MINIMUM', 1033, 'Minimum'),
    ('IDS_REP_MAXIMUM', 1033, 'Maximum'),
    ('IDS_REP_MEAN', 1033, 'Mean'),
    ('IDS_REP_SAMPLES', 1033, 'Samples'),
    ('IDS_REP_FLOW', 1033, 'Flow'),
    ('IDS_REP_TEMPERATURE', 1033, 'Temperature'),
    ('IDS_REP_SWITCH_LINE', 1033, 'Switch point'),
    ('IDS_REP_BAND', 1033, 'Taught band'),
    ('IDS_REP_PARAMETERS', 1033, 'Parameters as last read'),
    ('IDS_REP_PARAMETER', 1033, 'Parameter'),
    ('IDS_REP_VALUE', 1033, 'Value'),
    ('IDS_REP_UNIT', 1033, 'Unit'),
    ('IDS_REP_TIME', 1033, 'Time'),
    ('IDS_REP_EVENT', 1033, 'Event'),
    ('IDS_REP_NO_VALUE', 1033, 'no value'),
    ('IDS_REP_NO_SAMPLES', 1033, 'No trend was recorded.');
