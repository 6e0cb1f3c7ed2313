// The extra elements' 2D materials: the track map and its racers' marks, the figure
// picture and its outline (white: the element's tint colours them through the vertex
// colour), and the image scroller's arrows (each with its look under the mouse) and
// items (each with its highlight). Each maps its picture from data/textures/gui,
// clamped, blended by its alpha; vertex colour and alpha carry the tints and the
// pages' fades. The text batcher winds its quads clockwise, so every one says
// "cull none".

textures\gui\map
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/gui/map
		blendfunc blend
		rgbgen vertex
		alphagen vertex
	}
}

textures\gui\mark
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/gui/mark
		blendfunc blend
		rgbgen vertex
		alphagen vertex
	}
}

textures\gui\mark_player
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/gui/mark_player
		blendfunc blend
		rgbgen vertex
		alphagen vertex
	}
}

textures\gui\figure
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/gui/figure
		blendfunc blend
		rgbgen vertex
		alphagen vertex
	}
}

textures\gui\figure_outline
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/gui/figure_outline
		blendfunc blend
		rgbgen vertex
		alphagen vertex
	}
}

textures\gui\scroller_left
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/gui/scroller_left
		blendfunc blend
		rgbgen vertex
		alphagen vertex
	}
}

textures\gui\scroller_left_over
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/gui/scroller_left_over
		blendfunc blend
		rgbgen vertex
		alphagen vertex
	}
}

textures\gui\scroller_right
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/gui/scroller_right
		blendfunc blend
		rgbgen vertex
		alphagen vertex
	}
}

textures\gui\scroller_right_over
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/gui/scroller_right_over
		blendfunc blend
		rgbgen vertex
		alphagen vertex
	}
}

textures\gui\scroller_item1
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/gui/scroller_item1
		blendfunc blend
		rgbgen vertex
		alphagen vertex
	}
}

textures\gui\scroller_item1_over
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/gui/scroller_item1_over
		blendfunc blend
		rgbgen vertex
		alphagen vertex
	}
}

textures\gui\scroller_item2
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/gui/scroller_item2
		blendfunc blend
		rgbgen vertex
		alphagen vertex
	}
}

textures\gui\scroller_item2_over
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/gui/scroller_item2_over
		blendfunc blend
		rgbgen vertex
		alphagen vertex
	}
}

textures\gui\scroller_item3
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/gui/scroller_item3
		blendfunc blend
		rgbgen vertex
		alphagen vertex
	}
}

textures\gui\scroller_item3_over
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/gui/scroller_item3_over
		blendfunc blend
		rgbgen vertex
		alphagen vertex
	}
}

textures\gui\scroller_item4
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/gui/scroller_item4
		blendfunc blend
		rgbgen vertex
		alphagen vertex
	}
}

textures\gui\scroller_item4_over
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/gui/scroller_item4_over
		blendfunc blend
		rgbgen vertex
		alphagen vertex
	}
}

textures\gui\scroller_item5
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/gui/scroller_item5
		blendfunc blend
		rgbgen vertex
		alphagen vertex
	}
}

textures\gui\scroller_item5_over
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/gui/scroller_item5_over
		blendfunc blend
		rgbgen vertex
		alphagen vertex
	}
}
