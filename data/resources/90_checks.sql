-- Consistency checks of the finished database. Each problem is printed on a line of its own, and
-- then the insert into `must_be_empty` fails, so the build stops.
CREATE TEMP VIEW problems (problem) AS
    -- Every text key is there in every language, so no language falls back for a single key.
    SELECT 'text missing: ' || k.key || ' in language ' || l.language
    FROM (SELECT DISTINCT key FROM texts) AS k CROSS JOIN languages AS l
    WHERE NOT EXISTS (SELECT 1 FROM texts AS t WHERE t.key = k.key AND t.language = l.language)
UNION ALL
    SELECT 'text of an unknown language: ' || key || ' in language ' || language
    FROM texts WHERE language NOT IN (SELECT language FROM languages)
UNION ALL
    -- The place holder is spelt "%1"; a "%" followed by anything else is a typing error.
    SELECT 'stray percent sign: ' || key || ' in language ' || language
    FROM texts WHERE replace(text, '%1', '') LIKE '%\%%' ESCAPE '\'
UNION ALL
    -- Every picture is a PNG whose header states the size of its row.
    SELECT 'not a PNG of the stated size: ' || key
    FROM pictures
    WHERE substr(png, 1, 8) <> x'89504E470D0A1A0A'
       OR substr(png, 13, 4) <> CAST('IHDR' AS BLOB)
       OR hex(substr(png, 17, 8)) <> printf('%08X%08X', width, height);

SELECT 'resource check failed: ' || problem FROM problems;

CREATE TEMP TABLE must_be_empty (problem TEXT CHECK (problem IS NULL));
INSERT INTO must_be_empty SELECT problem FROM problems;
