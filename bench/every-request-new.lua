-- wrk: the bench's request with a counter of its own appended, so that no two requests are the
-- same and none is answered from the service's memo of the current second.
local counter = 0
request = function()
  counter = counter + 1
  return wrk.format(nil, wrk.path .. "&n=" .. counter)
end
