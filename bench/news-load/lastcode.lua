-- wrk script: the start-up "lastcode" request exactly as the program posts
-- it (multipart form, fields in its order, its headers), each time for a
-- publisher drawn at random from the seeded ones; with NEWS_STATIC set, a
-- GET of that path with the same headers instead (the ceiling).
-- A thread stops after NEWS_REQUESTS_PER_THREAD replies, and the first one
-- to get there ends the whole run as Ctrl-C would: wrk itself only knows a
-- duration, which -d keeps as the upper bound. A reply is an error unless it
-- has status 200 and is a newest-message record of the seed (an id of the
-- last round, with its title) or, for the static file, its exact content.
local publishers = tonumber(os.getenv("NEWS_PUBLISHERS") or "1000")
local messages = tonumber(os.getenv("NEWS_MESSAGES") or "100000")
local per_thread = tonumber(os.getenv("NEWS_REQUESTS_PER_THREAD") or "10000")
local static = os.getenv("NEWS_STATIC")
local static_body = os.getenv("NEWS_STATIC_BODY")
local levels = { [0] = "BM", [1] = "BP", [2] = "BG" }
local boundary = "----------ZoltFormBoundary"

local ffi = require("ffi")
ffi.cdef [[
  int kill(int pid, int sig);
  int getpid(void);
]]

local threads = {}
local next_id = 0

function setup(thread)
  next_id = next_id + 1
  thread:set("id", next_id)
  table.insert(threads, thread)
end

replies, bad = 0, 0  -- globals: done() reads them through thread:get

local requests = {}

local function part(name, value)
  return "--" .. boundary .. "\r\nContent-Disposition: form-data; name=\"" .. name .. "\"\r\n\r\n" .. value .. "\r\n"
end

local headers = {
  ["User-Agent"] = "Mozilla/4.0 (compatible; MSIE 5.5; Windows NT 4.0)",
  ["Accept"] = "text/html, */*",
  ["Accept-Encoding"] = "gzip, deflate",
  ["Accept-Language"] = "en-US,*",
  ["Connection"] = "Keep-Alive",
}

-- Every request is made here once, so that the client spends as little of
-- the machine as it can while it runs.
function init(args)
  math.randomseed(os.time() * 100 + id)
  boundary = boundary .. string.format("%x%x%x%x", math.random(0, 0xffffff), math.random(0, 0xffffff),
                                       math.random(0, 0xffffff), math.random(0, 0xffffff))
  if static then
    requests[1] = wrk.format("GET", static, headers)
    return
  end
  headers["Content-Type"] = "multipart/form-data; boundary=" .. boundary
  for p = 1, publishers do
    local body = part("memusername", string.format("PUB%04d", p)) .. part("prodcode", string.format("BRAND%04d", p))
      .. part("prodtype", levels[p % 3]) .. part("conttype", "lastcode") .. part("newstarget", "UA")
      .. part("something", "") .. "--" .. boundary .. "--\r\n"
    requests[p] = wrk.format("POST", "/getlastnews.php", headers, body)
  end
end

function request()
  return requests[math.random(1, #requests)]
end

function response(status, headers, body)
  replies = replies + 1
  local ok
  if static then
    ok = status == 200 and body == static_body
  else
    local id, title = string.match(body, "^(%d+)%^News (%d+)\175OK$")
    ok = status == 200 and id ~= nil and id == title and tonumber(id) > messages - publishers
  end
  if not ok then
    bad = bad + 1
  end
  if replies == per_thread then
    ffi.C.kill(ffi.C.getpid(), 2)
  end
end

function done(summary, latency, requests)
  local wrong = 0
  for _, thread in ipairs(threads) do
    wrong = wrong + thread:get("bad")
  end
  local e = summary.errors
  io.write(string.format("requests=%d seconds=%.3f errors=%d p50_ms=%.3f p99_ms=%.3f\n", summary.requests,
    summary.duration / 1e6, wrong + e.connect + e.read + e.write + e.timeout,
    latency:percentile(50) / 1000, latency:percentile(99) / 1000))
end
