// The widgets' 2D materials: the scroll bars' arrows (each with its look under the
// mouse), bit and track, the tables' rows (normal, selected, marked) and grid lines,
// the progress bars' fill and back, the edit boxes' frame and the selector items.
// Each maps its picture from data/textures/gui, blended by its alpha; vertex colour
// and alpha carry the pages' fades. The text batcher winds its quads clockwise, so
// every one says "cull none". Pictures that are repeated or stretched along a bar
// wrap ("map"); the others are clamped. 2D lies at depth 0, where "lequal" always
// passes: "depthfunc always" spares a software renderer the depth buffer.

textures\gui\scroll_up
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/gui/scroll_up
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

textures\gui\scroll_up_over
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/gui/scroll_up_over
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

textures\gui\scroll_down
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/gui/scroll_down
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

textures\gui\scroll_down_over
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/gui/scroll_down_over
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

textures\gui\scroll_left
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/gui/scroll_left
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

textures\gui\scroll_left_over
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/gui/scroll_left_over
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

textures\gui\scroll_right
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/gui/scroll_right
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

textures\gui\scroll_right_over
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/gui/scroll_right_over
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

textures\gui\scroll_bit
{
	nopicmip
	nomipmaps
	cull none
	{
		map textures/gui/scroll_bit
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

textures\gui\scroll_track
{
	nopicmip
	nomipmaps
	cull none
	{
		map textures/gui/scroll_track
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

textures\gui\row
{
	nopicmip
	nomipmaps
	cull none
	{
		map textures/gui/row
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

textures\gui\row_selected
{
	nopicmip
	nomipmaps
	cull none
	{
		map textures/gui/row_selected
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

textures\gui\row_marked
{
	nopicmip
	nomipmaps
	cull none
	{
		map textures/gui/row_marked
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

textures\gui\grid_line
{
	nopicmip
	nomipmaps
	cull none
	{
		map textures/gui/grid_line
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

textures\gui\progress_fill
{
	nopicmip
	nomipmaps
	cull none
	{
		map textures/gui/progress_fill
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

textures\gui\progress_back
{
	nopicmip
	nomipmaps
	cull none
	{
		map textures/gui/progress_back
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

textures\gui\edit_frame
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/gui/edit_frame
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

textures\gui\item_a
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/gui/item_a
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

textures\gui\item_a_over
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/gui/item_a_over
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

textures\gui\item_b
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/gui/item_b
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

textures\gui\item_b_over
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/gui/item_b_over
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

textures\gui\item_c
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/gui/item_c
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

textures\gui\item_c_over
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/gui/item_c_over
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}
