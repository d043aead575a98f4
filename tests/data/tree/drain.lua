function Queue:drain(handler)
  local count = 0
  repeat
    local item = self:pop()
    if item == nil then
      break
    elseif item.skip then
      goto continue
    end
    handler(item)
    count = count + 1
    ::continue::
  until self:empty()
  return count
end
