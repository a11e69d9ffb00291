-- Toolbar pictures, 16 x 16 PNG with an alpha channel (drawn by scripts/make_icons.py).
INSERT INTO pictures (key, png, width, height) VALUES
    ('ICO_STORE_TO_DEVICE', readfile('icons/ICO_STORE_TO_DEVICE.png'), 16, 16),
    ('ICO_LOAD_FROM_DEVICE', readfile('icons/ICO_LOAD_FROM_DEVICE.png'), 16, 16),
    ('ICO_TREE', readfile('icons/ICO_TREE.png'), 16, 16),
    ('ICO_CSV', readfile('icons/ICO_CSV.png'), 16, 16),
    ('ICO_TB_EXPORTXML', readfile('icons/ICO_TB_EXPORTXML.png'), 16, 16),
    ('ICO_BLANK', readfile('icons/ICO_BLANK.png'), 16, 16),
    ('ICO_AUTO', readfile('icons/ICO_AUTO.png'), 16, 16),
    ('ICO_PARAM_DIFFERENT', readfile('icons/ICO_PARAM_DIFFERENT.png'), 16, 16);
